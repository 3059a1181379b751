// FrmSetup as the installation run and the cancel handler see it: the copy
// page's labels and bars, the desktop check box, the timer, the cancel
// images, the waiting window and the quit dialog.
#include "frm_setup_win.h"

#include "control_ids.h"
#include "frm_quit_win.h"
#include "screen_scale_win.h"
#include "win32/wide.h"

namespace tessaro {

// Only the cancel button is left on the copy page: it takes the focus, so
// Space and Enter press it as Esc does.
void FrmSetup::StartInstallation() {
  for (int id : {ids::EndSetup, ids::EndSetup_giallo})
    if (HWND image = GetDlgItem(hwnd_, id); IsWindowVisible(image)) SetFocus(image);
  RunInstallation(cx_, *this);
}

void FrmSetup::ShowQuitDialog() {
  FrmQuit dialog(cx_, ui_);
  dialog.ShowModal(hwnd_);
}

void FrmSetup::ShowWaitingWindow() { waiting_.Show(hwnd_); }
void FrmSetup::SetWaitingText(const std::string& text) { waiting_.SetText(text); }
void FrmSetup::CloseWaitingWindow() { waiting_.Close(); }

// Called for every block copied: only the label itself is fitted again, and
// only when its text changes.
void FrmSetup::SetStatusText(int index, const std::string& text) {
  const int id = index == 0 ? ids::lblStatus0 : ids::lblStatus1;
  HWND label = GetDlgItem(hwnd_, id);
  const std::wstring wide = Widen(text);
  if (WindowText(label) == wide) return;
  SetWindowTextW(label, wide.c_str());
  FitLabel(label, textSpec_, places_[id],
           Px(places_[id == ids::lblStatus0 ? ids::picStatus0 : ids::picStatus1].top), true);
}

ProgressCanvas& FrmSetup::Bar(int index) { return *bars_[index == 0 ? 0 : 1]; }

bool FrmSetup::DesktopShortcutWanted() { return IsChecked(PageControl::DeskShort); }

void FrmSetup::StopTimer() { KillTimer(hwnd_, ids::tmrTime); }

// Every image that reaches the cancel handler goes, not EndSetup alone: a
// rollback after the registry phase would delete files the settings point to.
void FrmSetup::DisableCancel() {
  for (int id : {ids::EndSetup, ids::EndSetup_giallo, ids::ESCI_ORA})
    EnableWindow(GetDlgItem(hwnd_, id), FALSE);
}

}  // namespace tessaro
