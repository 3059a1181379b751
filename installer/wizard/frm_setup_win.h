#pragma once
// FrmSetup, the wizard window: borderless and cut to its outline, dragged by
// its background, with image buttons that light up under the pointer. Its
// first page shows the application's name and the welcome text.
#include <windows.h>

#include "hover.h"
#include "installer_state.h"
#include "win32/handles.h"
#include "win32/ui_win.h"
#include "wizard_view.h"

namespace tessaro {

class FrmSetup : public WizardView, public ButtonImages {
 public:
  FrmSetup(InstallerContext& cx, Win32Ui& ui) : cx_(cx), ui_(ui) {}
  // Creates the window and its controls, hidden, as designed.
  bool Create(HINSTANCE instance);
  // Loads the form (start-up checks and page 0), then shows it.
  void LoadAndShow();
  HWND Handle() const { return hwnd_; }

  void ApplyOutline() override;
  void SetAppName(const std::string& caption) override;
  void SetAppTitle(const std::string& caption) override;
  void SetWelcome(const std::string& text) override;
  void SetVisible(ButtonImage image, bool visible) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ForwardingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR self);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnImage(int id, WORD code);

  // Handlers, named after the form's controls.
  void Form_Load();
  void Form_MouseDown();
  void Form_MouseMove();
  void NextStep_MouseMove();
  void Previous_MouseMove();
  void EndSetup_MouseMove();
  void NextStep_Click();
  void Previous_Click();
  void EndSetup_Click();
  void Form_Close();

  void Paint(HDC dc);
  void DrawCloseImage(const DRAWITEMSTRUCT& item);
  HWND AddControl(const wchar_t* cls, DWORD style, int id, int left, int top, int width,
                  int height);
  void AddImages();
  int Px(int twips) const { return MulDiv(twips, dpi_, 1440); }

  InstallerContext& cx_;
  Win32Ui& ui_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  GdiObject textFont_, nameFont_, titleFont_, buttonFont_;
};

}  // namespace tessaro
