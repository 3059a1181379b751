// The installer's windows laid out in this process, at the prefix's DPI, page
// by page: every control's text, measured in the control's own font, fits its
// client area (or, in a text box, scrolls with a scroll bar shown only then);
// no control lies over another; and every control lies inside the window's
// outline. WizardDpi runs the same walk again in child processes with the
// prefix set to other DPIs. FormWindow: what the forms' window procedure
// does with a handler's exception.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "errors.h"
#include "in_process.h"
#include "services/drive_info.h"
#include "support.h"
#include "texts.h"
#include "win32/form_window.h"
#include "win32/text_fit_win.h"
#include "win32/wide.h"
#include "wizard/control_ids.h"
#include "wizard/frm_setup_win.h"
#include "wizard/image_button_win.h"
#include "wizard/pages.h"

namespace tessaro {
namespace {

std::string Name(HWND control) {
  std::ostringstream out;
  out << "[" << GetDlgCtrlID(control) << "] \"" << Narrow(WindowText(control)) << "\"";
  return out.str();
}

RECT InParent(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool IsClass(HWND control, const wchar_t* name) {
  wchar_t cls[32] = {};
  GetClassNameW(control, cls, 31);
  return _wcsicmp(cls, name) == 0;
}

// What is wrong with the windows on screen, one line each.
struct Findings {
  std::vector<std::string> lines;
  std::string page;
  void Add(const std::string& what) { lines.push_back(page + ": " + what); }
};

// A control's text against its client area, measured as the control shows it.
void CheckText(HWND c, Findings& f, bool reportLines) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
  std::wstring text = WindowText(c);
  RECT client;
  GetClientRect(c, &client);
  const LONG style = GetWindowLongW(c, GWL_STYLE);
  auto need = [&](int width, bool oneLine) { return MeasureText(font, text, width, oneLine); };
  auto report = [&](const char* what, SIZE n, int w, int h) {
    std::ostringstream out;
    out << Name(c) << " " << what << ": needs " << n.cx << " x " << n.cy << ", has " << w << " x "
        << h;
    f.Add(out.str());
  };
  const int w = client.right, h = client.bottom;
  if (IsClass(c, L"Static")) {
    if ((style & SS_TYPEMASK) == SS_OWNERDRAW || text.empty()) return;
    const bool oneLine = (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
    SIZE n = need(w, oneLine);
    if (n.cx > w || n.cy > h) report("label cut", n, w, h);
  } else if (IsClass(c, L"Button")) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_GROUPBOX || text.empty()) return;
    if (IsImageButton(c)) {
      wchar_t caption[64];
      text = ImageCaption(c, caption);
      SIZE n = need(w, true);
      if (n.cx > w - h / 2 || n.cy > h) report("button caption cut", n, w - h / 2, h);
    } else if (type == BS_OWNERDRAW) {
      return;  // a picture of its own
    } else if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_CHECKBOX ||
               type == BS_RADIOBUTTON) {
      // The caption without its "&", beside the box.
      text.erase(std::remove(text.begin(), text.end(), L'&'), text.end());
      const int room = w - CheckBoxAllowance();
      SIZE n = need(room, (style & BS_MULTILINE) == 0);
      if (n.cx > room || n.cy > h) report("caption cut", n, room, h);
    } else {
      SIZE n = need(w, true);
      if (n.cx > w || n.cy > h) report("button caption cut", n, w, h);
    }
  } else if (IsClass(c, L"Edit")) {
    RECT lines{};
    SendMessageW(c, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&lines));
    const int lw = lines.right - lines.left, lh = std::min<int>(lines.bottom, h) - lines.top;
    if (!(style & ES_MULTILINE)) {
      SIZE n = need(lw, true);
      if (n.cx > lw || LineHeight(font) > lh) report("field cut", n, lw, lh);
      return;
    }
    SIZE n = need(lw, false);
    const bool scrolls = (style & WS_VSCROLL) != 0;
    if (!scrolls && n.cy > lh) report("text box cut, without a scroll bar", n, lw, lh);
    if (scrolls && n.cy <= lh) report("scroll bar on a text that fits", n, lw, lh);
    if (reportLines && WidestLine(font, text) > lw)
      report("report line broken", {WidestLine(font, text), n.cy}, lw, lh);
  }
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

// Every visible control of `window`: its text, no sibling over it, and
// inside the window's outline when it has one.
void CheckWindow(HWND window, Findings& f, bool reportLines = false) {
  HRGN outline = CreateRectRgn(0, 0, 0, 0);
  const bool shaped = GetWindowRgn(window, outline) != ERROR;
  std::vector<HWND> all;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> shown;
  for (HWND c : all)
    if (IsWindowVisible(c) && GetParent(c) != nullptr && !IsClass(GetParent(c), L"ComboBox"))
      shown.push_back(c);
  for (HWND c : shown) {
    CheckText(c, f, reportLines && GetDlgCtrlID(c) == ids::Welcome);
    RECT r = InParent(c);
    for (HWND other : shown) {
      RECT o = InParent(other), common;
      if (other != c && GetParent(other) == GetParent(c) && IntersectRect(&common, &r, &o) &&
          c < other)
        f.Add(Name(c) + " and " + Name(other) + " overlap");
    }
    if (!shaped) continue;
    RECT inWindow;
    GetWindowRect(c, &inWindow);
    RECT frame;
    GetWindowRect(window, &frame);
    OffsetRect(&inWindow, -frame.left, -frame.top);
    HRGN box = CreateRectRgnIndirect(&inWindow);
    if (CombineRgn(box, box, outline, RGN_DIFF) != NULLREGION)
      f.Add(Name(c) + " reaches outside the window's outline");
    DeleteObject(box);
  }
  DeleteObject(outline);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The quit dialog is modal: it is checked from a timer inside its own loop,
// then sent back with Esc's answer.
Findings* g_findings = nullptr;
bool g_quitChecked = false;
void CALLBACK CheckQuitDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowW(ids::quit::kClass, nullptr);
  if (!dialog || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  CheckWindow(dialog, *g_findings);
  g_quitChecked = true;
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}

struct WizardLayout : ::testing::Test {
  void SetUp() override {
    const std::string setup = wine_test::make_setup_folder(false);
    machine.platform.programPath = setup + "\\Installer.exe";
    destination = wine_test::scratch_folder("WizardLayout.destination");
    ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
    form.LoadAndShow();
    Pump();
  }
  void TearDown() override { DestroyWindow(form.Handle()); }
  void Next() {
    NextStepClick(cx, form);
    Pump();
  }
  void Check(const std::string& page, bool reportLines = false) {
    findings.page = page;
    CheckWindow(form.Handle(), findings, reportLines);
  }

  wine::Win32Machine<wine::RecordingUi, Win32Shell, wine::PlatformInSetupFolder> machine;
  InstallerState state;
  InstallerContext cx{machine.sys, state};
  Win32Ui ui;
  FrmSetup form{cx, ui};
  std::string destination;
  Findings findings;
};

TEST_F(WizardLayout, EveryTextIsWholeAndEveryControlInPlace) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (const char* expected = getenv("TESSARO_EXPECT_DPI")) {
    ASSERT_EQ(dpi, atoi(expected));
  }
  std::cout << "at " << dpi << " dpi\n";

  Check("welcome");
  Next();
  Check("licence");
  form.SetChecked(PageControl::Lic_Accetto, true);
  form.SetChecked(PageControl::Lic_NonAccetto, false);
  Next();
  ASSERT_EQ(state.WizardStep, 2) << machine.ui.boxes.size();
  Check("destination");
  form.SetText(PageControl::CopyPath, destination);
  Next();
  ASSERT_EQ(state.WizardStep, 3);
  Check("drive report", true);
  // The drive report with each of its warnings, as the drive check gives them.
  form.SetWarning(kWarningTopLow, texts::kSpaceShort);
  form.SetNextEnabled(false);
  Pump();
  Check("drive report, space short", true);
  form.SetWarning(kWarningTopHigh, texts::kWrongMedia);
  Pump();
  Check("drive report, wrong kind of drive", true);
  form.HideReport();
  form.SetWarning(kWarningTopHigh, texts::kDriveUnreadable);
  form.SetNextEnabled(true);
  Pump();
  Check("drive not readable");
  PreviousClick(cx, form);
  form.SetText(PageControl::CopyPath, destination);
  Next();
  ASSERT_EQ(state.WizardStep, 3);
  Next();
  Check("program group");
  Next();
  ASSERT_EQ(state.WizardStep, 5);
  Check("summary");
  state.WizardStep = 6;
  ShowStep(cx, form, state.WizardStep);
  form.SetStatusText(0, std::string(texts::kCopyingFile) + "condominio.mde");
  form.SetStatusText(1, std::string(texts::kBytesCopied) + "112.888");
  Pump();
  Check("installation");

  g_findings = &findings;
  g_quitChecked = false;
  findings.page = "quit dialog";
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, CheckQuitDialog);
  form.ShowQuitDialog();
  if (!g_quitChecked) KillTimer(nullptr, timer);
  EXPECT_TRUE(g_quitChecked) << "the quit dialog did not open";
  EXPECT_FALSE(state.QuitConfirmed);

  form.ShowWaitingWindow();
  HWND waiting = FindWindowW(ids::waiting::kClass, nullptr);
  ASSERT_TRUE(waiting);
  findings.page = "waiting window";
  CheckWindow(waiting, findings);
  form.SetWaitingText(texts::kCancellingInstallation);
  CheckWindow(waiting, findings);
  form.CloseWaitingWindow();

  std::string all;
  for (const std::string& line : findings.lines) all += line + "\n";
  EXPECT_TRUE(findings.lines.empty()) << "at " << dpi << " dpi:\n" << all;
}

}  // namespace
}  // namespace tessaro

namespace tessaro {
namespace {

// A form whose handler fails on WM_APP.
struct FailingForm {
  HWND hwnd = nullptr;
  int failures = 0;
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_APP) return DefWindowProcW(hwnd, msg, wp, lp);
    ++failures;
    throw RuntimeError(err::FileNotFound, "File not found: Setup.dip");
  }
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    return DispatchToForm(window, msg, wp, lp, &FailingForm::hwnd, &FailingForm::Handle);
  }
};

std::vector<std::string> g_noted;

// The exception stops at the window procedure, the window goes on, and the
// note (the installer's transcript) gets a line naming the window, the
// message and the error.
TEST(FormWindow, AHandlersExceptionIsWrittenDownAndTheWindowGoesOn) {
  constexpr const wchar_t* kClass = L"TessaroFailingForm";
  ASSERT_TRUE(RegisterWindowClassOnce(kClass, FailingForm::Proc));
  ASSERT_TRUE(RegisterWindowClassOnce(kClass, FailingForm::Proc));  // already there
  FailingForm form;
  HWND window = CreateWindowExW(0, kClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), &form);
  ASSERT_TRUE(window);
  ASSERT_EQ(form.hwnd, window);
  g_noted.clear();
  SetHandlerFailureNote([](const std::string& line) { g_noted.push_back(line); });
  EXPECT_EQ(SendMessageW(window, WM_APP, 0, 0), 0);
  SendMessageW(window, WM_APP, 0, 0);
  SetHandlerFailureNote(nullptr);
  EXPECT_EQ(form.failures, 2);
  const std::string line =
      "eccezione nella finestra TessaroFailingForm (messaggio 32768): File not found: Setup.dip";
  EXPECT_EQ(g_noted, (std::vector<std::string>{line, line}));
  EXPECT_TRUE(IsWindow(window));
  DestroyWindow(window);
}

}  // namespace
}  // namespace tessaro

namespace tessaro {
namespace {

// The prefix's DPI as Wine reads it when a program starts; 96 again after.
class PrefixDpi {
 public:
  explicit PrefixDpi(DWORD dpi) { Set(dpi); }
  ~PrefixDpi() { Set(96); }
  PrefixDpi(const PrefixDpi&) = delete;
  PrefixDpi& operator=(const PrefixDpi&) = delete;

 private:
  static void Set(DWORD dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
      return;
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof(dpi));
    RegCloseKey(key);
  }
};

// Runs this program's WizardLayout suite in a new process; its exit code,
// and what it printed in `output`.
DWORD RunLayoutSuite(int dpi, std::string& output) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::string log = wine_test::scratch_folder("WizardDpi") + "\\layout.log";
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE out = CreateFileW(Widen(log).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return 0xFFFF;
  std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=WizardLayout.*";
  SetEnvironmentVariableW(L"TESSARO_EXPECT_DPI", std::to_wstring(dpi).c_str());
  STARTUPINFOW start{};
  start.cb = sizeof(start);
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = start.hStdError = out;
  PROCESS_INFORMATION child{};
  DWORD code = 0xFFFF;
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                     &child)) {
    if (WaitForSingleObject(child.hProcess, 120000) != WAIT_OBJECT_0)
      TerminateProcess(child.hProcess, 0xDEAD);
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
  }
  SetEnvironmentVariableW(L"TESSARO_EXPECT_DPI", nullptr);
  CloseHandle(out);
  output = wine_test::read_file(log).value_or("(no output)");
  return code;
}

// The walk of WizardLayout at the DPIs of today's screens besides 96 (which
// WizardLayout itself runs at): 125 %, 150 %, 175 % and 200 %.
TEST(WizardDpi, EveryWindowFitsAtEveryDpi) {
  for (int dpi : {120, 144, 168, 192}) {
    SCOPED_TRACE(std::to_string(dpi) + " dpi");
    std::string output;
    DWORD code;
    {
      PrefixDpi prefix(static_cast<DWORD>(dpi));
      code = RunLayoutSuite(dpi, output);
    }
    EXPECT_EQ(code, 0u) << output;
    EXPECT_NE(output.find("at " + std::to_string(dpi) + " dpi"), std::string::npos) << output;
  }
}

}  // namespace
}  // namespace tessaro
