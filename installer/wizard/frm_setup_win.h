#pragma once
// FrmSetup, the wizard window: borderless and cut to its outline, dragged by
// its background, with image buttons that light up under the pointer. Its
// controls make the seven pages laid out by pages.cpp; the form itself sees
// to it that every text fits its control and that no control lies over
// another, and answers the keyboard.
#include <windows.h>

#include <map>
#include <optional>

#include "engine/installation_run.h"
#include "installer_state.h"
#include "win32/form_keys.h"
#include "win32/handles.h"
#include "win32/progress_canvas_win.h"
#include "win32/text_fit_win.h"
#include "win32/ui_win.h"
#include "wizard/frm_registry_win.h"
#include "wizard/image_stack_win.h"
#include "wizard/pages.h"
#include "wizard/quit.h"

namespace tessaro {

// The wizard's subclassed controls, one id each for SetWindowSubclass.
enum WizardSubclass : UINT_PTR {
  kTitleSubclass = 1,    // Apptitle: passes the pointer on and drags the window
  kWelcomeSubclass = 2,  // Welcome: passes the pointer on
  kCloseSubclass = 3,    // ESCI_ORA: paints all of itself
  kFrameSubclass = 4,    // Accettazione: its options' colours and its inside
};

class FrmSetup : public PagesView, public QuitView, public InstallationView, private FormKeys {
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

  // The pages' controls (frm_setup_pages_win.cpp).
  void Show(PageControl control, bool visible) override;
  bool IsShown(PageControl control) override;
  void SetText(PageControl control, const std::string& text) override;
  std::string Text(PageControl control) override;
  void SetTop(PageControl control, int twips) override;
  void SetHeight(PageControl control, int twips) override;
  void SetChecked(PageControl control, bool checked) override;
  bool IsChecked(PageControl control) override;
  void ClearGroups() override;
  void AddGroup(const std::string& name) override;
  void Focus(PageControl control) override;
  void StartInstallation() override;
  void SetReport(const std::string& text) override;
  void HideReport() override;
  void SetWarning(int topTwips, const std::string& text) override;
  void SetNextEnabled(bool enabled) override;

  // Cancelling and the installation run (frm_setup_run_win.cpp).
  void ShowQuitDialog() override;
  void ShowWaitingWindow() override;
  void SetWaitingText(const std::string& text) override;
  void CloseWaitingWindow() override;
  void SetStatusText(int index, const std::string& text) override;
  ProgressCanvas& Bar(int index) override;
  bool DesktopShortcutWanted() override;
  void StopTimer() override;
  void DisableCancel() override;

 private:
  // What the Welcome box holds: long texts scroll; the drive report and the
  // summary get a font small enough for them to show whole.
  enum class WelcomeText { Scrolling, Report, Summary };
  // A control's place in twips as designed, with the tops and heights the
  // pages give it; the layout works from these, never from where it last
  // put the control.
  struct Place {
    int left, top, width, height;
  };

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
  void Browse_Click();
  void tmrTime_Timer() {}  // its tick does nothing
  void Form_Close();

  void Paint(HDC dc);
  void DrawCloseImage(const DRAWITEMSTRUCT& item);
  HWND AddControl(const wchar_t* cls, DWORD style, int id, const Place& place);
  void AddImages();
  void AddPageControls();
  void MakeWelcome(bool scrollBar);
  HWND Ctl(PageControl control) const;
  // Colours of a control on the light page panel; null for the form's labels.
  HBRUSH PageColours(HWND control, HDC dc);
  void DrawGroupIcon(const DRAWITEMSTRUCT& item);

  // Layout (frm_setup_layout_win.cpp): heights and fonts from the measured
  // texts, and the few places where designed controls would overlap.
  void Relayout();
  void PlaceWelcome(const RECT& box, int& bottom);
  void PlaceWarning(int top);
  void FitLabel(HWND label, const FontSpec& base, const Place& place, int roomBottom, bool oneLine);
  void FitOptions();
  void Move(HWND control, const RECT& r);
  bool WelcomeShown() const;

  // Keyboard and focus (frm_setup_keys_win.cpp).
  bool OnKey(const MSG& msg) override;
  void MoveFocus(bool backwards);
  void FocusPageField();
  void FocusSlot(int slot);
  bool Pressable(HWND image) const;
  HWND FocusedControl() const;

  InstallerContext& cx_;
  Win32Ui& ui_;
  HWND hwnd_ = nullptr;
  FontBook fonts_;
  FontSpec textSpec_{}, titleSpec_{}, nameSpec_{}, buttonSpec_{};
  FrmRegistry waiting_;
  bool warningShown_ = false;  // ErroreSpazio's Visible setting
  WelcomeText welcomeText_ = WelcomeText::Scrolling;
  std::map<int, Place> places_;  // by control id
  ImageStack images_;            // Back, Next and Cancel
  IconHandle smallIcon_;         // the window's, for the taskbar
  HWND savedFocus_ = nullptr;    // while another window is active
  bool laidOut_ = false;         // false while the form is being made
  std::optional<Win32ProgressCanvas> bars_[2];
  HWND status_[2] = {};  // lblStatus0 and 1, set once per block by the copy
};

}  // namespace tessaro
