#pragma once
// FrmQuit, the quit dialog: borderless and cut to its outline, dragged by its
// background, asking whether to go back to the setup («Indietro») or to leave
// it («Uscita»). The answer is left in QuitConfirmed. Esc answers «Indietro»,
// Enter presses the button shown highlighted; Tab and the arrows move the
// focus, and the highlight with it, between the two.
#include <windows.h>

#include "installer_state.h"
#include "win32/form_keys.h"
#include "win32/text_fit_win.h"
#include "win32/ui_win.h"
#include "wizard/hover.h"
#include "wizard/image_stack_win.h"

namespace tessaro {

class FrmQuit : public ButtonImages, private FormKeys {
 public:
  FrmQuit(InstallerContext& cx, Win32Ui& ui) : cx_(cx), ui_(ui) {}
  // Loads the dialog over `owner`, which stays disabled until it is unloaded.
  void ShowModal(HWND owner);
  void SetVisible(ButtonImage image, bool visible) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  bool Create(HWND owner);
  void Form_Load();
  void Form_MouseDown();
  void Form_MouseMove() { QuitPointerAtRest(*this); }
  void BackToSetup_MouseMove() { QuitPointerOnBack(*this); }
  void EndSetup_MouseMove() { QuitPointerOnEndSetup(*this); }
  void BackToSetup_Click();
  void EndSetup_Click();
  void Unload() { done_ = true; }

  void FitLabels();
  bool OnKey(const MSG& msg) override;

  InstallerContext& cx_;
  Win32Ui& ui_;
  HWND hwnd_ = nullptr;
  bool done_ = false;
  FontBook fonts_;
  ImageStack images_;  // «Indietro» and «Uscita»
};

}  // namespace tessaro
