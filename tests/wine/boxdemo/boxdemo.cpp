// A small program for testing the robot itself: it shows known message boxes
// and a window with known controls, and reports what the robot did through
// its exit code.
//
//   boxdemo boxes          five boxes, one per icon kind and button set; the
//                          exit code is the answers' ids as decimal digits
//   boxdemo window         a window whose controls appear only after it is shown
//   boxdemo echo ARGS...   a box titled with the working folder, text = ARGS joined by '|'
//   boxdemo exit N         ends at once with code N
#include <windows.h>
// These need <windows.h> first.
#include <commctrl.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr int kNameLabel = 100, kNameEdit = 101, kNext = 102, kCheck = 103, kHidden = 104,
              kDisabled = 105;
constexpr UINT_PTR kCreateChildren = 1;

int show_boxes() {
  struct Step {
    const wchar_t* text;
    const wchar_t* title;
    UINT type;
  };
  const Step steps[] = {
      {L"Contabilità «prova»\nSecond line", L"Demo information", MB_OK | MB_ICONINFORMATION},
      {L"Overwrite the file?", L"Demo question", MB_YESNO | MB_ICONQUESTION},
      {L"Disk almost full", L"Demo warning", MB_OKCANCEL | MB_ICONEXCLAMATION},
      {L"Cannot read drive A:", L"Demo error", MB_ABORTRETRYIGNORE | MB_ICONERROR},
      {L"Done", L"Demo plain", MB_OK},
  };
  int code = 0;
  for (auto& s : steps) code = code * 10 + MessageBoxW(nullptr, s.text, s.title, s.type);
  return code;
}

HWND make_child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y,
                int w, int h, int id) {
  return CreateWindowExW(0, cls, text, WS_CHILD | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      // The children come a moment after the window shows, as in a form that
      // fills itself in: the robot has to wait for them.
      SetTimer(hwnd, kCreateChildren, 300, nullptr);
      return 0;
    case WM_TIMER:
      KillTimer(hwnd, kCreateChildren);
      make_child(hwnd, L"Static", L"Name:", WS_VISIBLE, 10, 12, 60, 20, kNameLabel);
      make_child(hwnd, L"Edit", L"Contabilità", WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 80, 10,
                 200, 22, kNameEdit);
      make_child(hwnd, L"Button", L"&Next", WS_VISIBLE | BS_PUSHBUTTON, 200, 100, 80, 26, kNext);
      make_child(hwnd, L"Button", L"Check", WS_VISIBLE | BS_AUTOCHECKBOX, 10, 50, 100, 20, kCheck);
      make_child(hwnd, L"Static", L"Hidden", 0, 10, 80, 60, 20, kHidden);
      make_child(hwnd, L"Button", L"Disabled", WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 100, 100,
                 80, 26, kDisabled);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kNext && HIWORD(wp) == BN_CLICKED) {
        wchar_t name[64] = {};
        GetDlgItemTextW(hwnd, kNameEdit, name, 64);
        std::wstring text = std::wstring(L"Next pressed: ") + name;
        MessageBoxW(hwnd, text.c_str(), L"Box demo", MB_OK | MB_ICONINFORMATION);
        bool checked = IsDlgButtonChecked(hwnd, kCheck) == BST_CHECKED;
        DestroyWindow(hwnd);
        PostQuitMessage(checked ? 42 : 41);
      } else if (LOWORD(wp) == kDisabled) {
        PostQuitMessage(99);  // a disabled button must never get here
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      PostQuitMessage(7);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

int show_window(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = window_proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BoxDemoWindow";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, L"BoxDemoWindow", L"Box demo", WS_OVERLAPPEDWINDOW, 100, 100, 320,
                              180, nullptr, nullptr, instance, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}

int echo(int argc, wchar_t** argv) {
  std::wstring text;
  for (int i = 2; i < argc; ++i) text += (i > 2 ? L"|" : L"") + std::wstring(argv[i]);
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring cwd(n, L'\0');
  cwd.resize(GetCurrentDirectoryW(n, cwd.data()));
  MessageBoxW(nullptr, text.c_str(), cwd.c_str(), MB_OK);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"boxes") return show_boxes();
  if (mode == L"window") return show_window(instance);
  if (mode == L"echo") return echo(argc, argv);
  if (mode == L"exit" && argc > 2) return _wtoi(argv[2]);
  return 2;
}
