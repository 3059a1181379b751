// FrmSetup as the installation run and the cancel handler see it: the copy
// page's labels and bars, the desktop check box, the timer, the cancel
// images, the waiting window and the quit dialog.
#include "wizard/frm_setup_win.h"

#include "win32/screen_scale_win.h"
#include "win32/status_label_win.h"
#include "win32/wide.h"
#include "wizard/control_ids.h"
#include "wizard/frm_quit_win.h"

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

// The registry phase lets no messages through while the registry editor
// runs: the copy page first shows what its labels and bars still hold back.
void FrmSetup::ShowWaitingWindow() {
  for (HWND label : status_) ShowHeldBackText(label);
  for (int id : {ids::picStatus0, ids::picStatus1}) ShowHeldBackBar(GetDlgItem(hwnd_, id));
  waiting_.Show(hwnd_);
}
void FrmSetup::SetWaitingText(const std::string& text) { waiting_.SetText(text); }
void FrmSetup::CloseWaitingWindow() { waiting_.Close(); }

// Called for every block copied: the status label keeps the text in the
// program and paints it itself, so this costs no round trip to the server.
void FrmSetup::SetStatusText(int index, const std::string& text) {
  SetWindowTextW(status_[index == 0 ? 0 : 1], Widen(text).c_str());
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
