#pragma once
// FrmSetup, the wizard window: a borderless window whose first page shows the
// application's name and the welcome text.
#include <windows.h>

#include "win32/handles.h"
#include "installer_state.h"
#include "win32/ui_win.h"
#include "wizard_view.h"

namespace tessaro {

class FrmSetup : public WizardView {
 public:
  FrmSetup(InstallerContext& cx, Win32Ui& ui) : cx_(cx), ui_(ui) {}
  // Creates the window and its controls, hidden, as designed.
  bool Create(HINSTANCE instance);
  // Loads the form (start-up checks and page 0), then shows it.
  void LoadAndShow();
  HWND Handle() const { return hwnd_; }

  void SetAppName(const std::string& caption) override;
  void SetAppTitle(const std::string& caption) override;
  void SetWelcome(const std::string& text) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Form_Load();
  void ESCI_ORA_Click();
  void Form_Close();
  void Paint(HDC dc);
  void DrawCloseImage(const DRAWITEMSTRUCT& item);
  HWND AddControl(const wchar_t* cls, DWORD style, int id, int left, int top, int width,
                  int height);
  int Px(int twips) const { return MulDiv(twips, dpi_, 1440); }

  InstallerContext& cx_;
  Win32Ui& ui_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  GdiObject textFont_, nameFont_, titleFont_;
};

}  // namespace tessaro
