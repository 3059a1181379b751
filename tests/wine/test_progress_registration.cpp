// The progress bar drawn by the real Win32 canvas into a box on a window of
// this process, read back pixel by pixel; and registration by file type with
// the real regsvr32 of the prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/registration.h"
#include "in_process.h"
#include "progress.h"
#include "support.h"
#include "win32/handles.h"
#include "win32/progress_canvas_win.h"
#include "win32/status_label_win.h"
#include "win32/ui_win.h"

namespace tessaro {
namespace {

constexpr COLORREF kBack = RGB(0x20, 0x40, 0xC0);
constexpr COLORREF kFore = RGB(0xFF, 0xFF, 0x00);
constexpr COLORREF Inverse(COLORREF c) { return ~c & 0xFFFFFF; }

// The box's client area as the screen shows it, one COLORREF per pixel.
struct Capture {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF at(int x, int y) const { return pixels[y * width + x]; }
};

Capture Grab(HWND box) {
  Capture shot;
  RECT client{};
  GetClientRect(box, &client);
  shot.width = client.right;
  shot.height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  GdiObject dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  WindowDc window(box);
  MemoryDc memory(CreateCompatibleDC(window.Get()));
  if (!dib || !memory) return shot;
  {
    SelectedObject use(memory.Get(), dib.Get());
    BitBlt(memory.Get(), 0, 0, shot.width, shot.height, window.Get(), 0, 0, SRCCOPY);
  }
  const auto* p = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < shot.width * shot.height; ++i)  // 0x00RRGGBB to 0x00BBGGRR
    shot.pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
  return shot;
}

int appMessages = 0;  // WM_APP messages the test window has run

LRESULT CALLBACK PlainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++appMessages;
  return DefWindowProcW(window, message, wParam, lParam);
}

struct ProgressBar : ::testing::Test {
  Win32Ui ui;
  HWND window = nullptr;
  HWND box = nullptr;

  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainWindow;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"ProgressBarTestWindow";
    RegisterClassW(&wc);  // already there on the second test
    window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"Barra", WS_POPUP | WS_VISIBLE, 40,
                             40, 360, 100, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    box = CreateProgressBox(window, 7, 20, 20, 300, 25);
    ASSERT_NE(box, nullptr);
    SetProgressBoxLook(box, kBack, kFore, nullptr);
    ui.PumpMessages();
  }
  void TearDown() override {
    if (window) DestroyWindow(window);
    ui.PumpMessages();
  }

  // The bar as drawn, also when it came within a frame of the last one.
  Capture Draw(int32_t done, int32_t total) {
    Win32ProgressCanvas canvas(box);
    DrawProgress(canvas, ui, done, total);
    ShowHeldBackBar(box);
    UpdateWindow(box);
    return Grab(box);
  }

  // Columns of the interior (inside the light grey frame) shown inverted on
  // the row; -1 when they do not form one run from the left edge.
  static int InvertedRun(const Capture& shot, int y) {
    int run = 0;
    bool ended = false;
    for (int x = 2; x < shot.width - 2; ++x) {
      COLORREF c = shot.at(x, y);
      if (c == Inverse(kBack)) {
        if (ended) return -1;
        ++run;
      } else if (c == kBack) {
        ended = true;
      }
    }
    return run;
  }

  struct Ink {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, count = 0;
    int fore = 0, inverseFore = 0;
  };
  // Pixels of the interior that are neither back colour nor its inverse: the text.
  static Ink FindInk(const Capture& shot) {
    Ink ink;
    for (int y = 2; y < shot.height - 2; ++y)
      for (int x = 2; x < shot.width - 2; ++x) {
        COLORREF c = shot.at(x, y);
        if (c == kBack || c == Inverse(kBack)) continue;
        ++ink.count;
        ink.fore += c == kFore;
        ink.inverseFore += c == Inverse(kFore);
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
      }
    return ink;
  }
};

TEST_F(ProgressBar, ShowsTheSunkenBorderCentredTextAndTheInvertedShare) {
  RECT outer{}, client{};
  GetWindowRect(box, &outer);
  Capture shot = Draw(1, 3);
  GetClientRect(box, &client);
  // The box's own edge is gone: the client area is the whole box.
  EXPECT_EQ(client.right, outer.right - outer.left);
  EXPECT_EQ(client.bottom, outer.bottom - outer.top);
  EXPECT_EQ(ProgressBoxTag(box), "34");
  const int W = shot.width, H = shot.height;
  ASSERT_EQ(W, 300);
  ASSERT_EQ(H, 25);

  const COLORREF dark = RGB(0x80, 0x80, 0x80), light = RGB(0xC0, 0xC0, 0xC0);
  const COLORREF white = RGB(0xFF, 0xFF, 0xFF);
  for (int x = 0; x < W; ++x) EXPECT_EQ(shot.at(x, 0), dark) << "top " << x;
  for (int y = 0; y < H; ++y) EXPECT_EQ(shot.at(0, y), dark) << "left " << y;
  for (int y = 1; y < H; ++y) EXPECT_EQ(shot.at(W - 1, y), white) << "right " << y;
  for (int x = 1; x < W; ++x) EXPECT_EQ(shot.at(x, H - 1), white) << "bottom " << x;
  for (int x = 1; x < W - 1; ++x) {
    EXPECT_EQ(shot.at(x, 1), light) << "inner top " << x;
    EXPECT_EQ(shot.at(x, H - 2), light) << "inner bottom " << x;
  }
  for (int y = 1; y < H - 1; ++y) {
    EXPECT_EQ(shot.at(1, y), light) << "inner left " << y;
    EXPECT_EQ(shot.at(W - 2, y), light) << "inner right " << y;
  }

  // 34% of the interior, give or take the rounding of one pixel.
  const int interior = W - 4;
  for (int y : {2, H - 3}) {
    int run = InvertedRun(shot, y);
    EXPECT_NEAR(run, interior * 34 / 100, 2) << "row " << y;
  }

  Ink ink = FindInk(shot);
  ASSERT_GT(ink.count, 10) << "no text drawn";
  EXPECT_NEAR((ink.left + ink.right) / 2.0, W / 2.0, 3);
  EXPECT_NEAR((ink.top + ink.bottom) / 2.0, H / 2.0, 3);
  EXPECT_GT(ink.fore, 0);  // "34%" lies in the part still to do
  EXPECT_EQ(ink.inverseFore, 0);

  // Covered and uncovered, the box repaints the same bar.
  InvalidateRect(box, nullptr, TRUE);
  UpdateWindow(box);
  EXPECT_TRUE(Grab(box).pixels == shot.pixels);
}

TEST_F(ProgressBar, FullBarInvertsTheTextAndAnEmptyOneNothing) {
  Capture full = Draw(100, 100);
  EXPECT_EQ(ProgressBoxTag(box), "100");
  EXPECT_EQ(InvertedRun(full, 2), full.width - 4);
  Ink ink = FindInk(full);
  EXPECT_GT(ink.inverseFore, 0);
  EXPECT_EQ(ink.fore, 0);

  // Drawn again lower: the whole bar is repainted, nothing of 100% remains.
  Capture empty = Draw(0, 100);
  EXPECT_EQ(ProgressBoxTag(box), "0");
  EXPECT_EQ(InvertedRun(empty, 2), 0);
  EXPECT_EQ(InvertedRun(empty, empty.height - 3), 0);
  ink = FindInk(empty);
  EXPECT_GT(ink.fore, 0);
  EXPECT_EQ(ink.inverseFore, 0);
  EXPECT_EQ(Draw(101, 100).pixels.size(), empty.pixels.size());
  EXPECT_EQ(ProgressBoxTag(box), "99");

  // Two bars within one frame: the second may be held back, and shows by
  // itself once the frame is over and messages run.
  Win32ProgressCanvas canvas(box);
  DrawProgress(canvas, ui, 100, 100);
  DrawProgress(canvas, ui, 0, 100);
  EXPECT_TRUE(robot::poll_until(
      [&] {
        ui.PumpMessages();
        return InvertedRun(Grab(box), 2) == 0;
      },
      robot::Millis{2000}));

  // The same 99% is drawn anew in a new look or at a new size: the inverted
  // part shows the new back colour inverted, the right edge moves in.
  Draw(101, 100);
  SetProgressBoxLook(box, kFore, kBack, nullptr);
  EXPECT_EQ(Draw(101, 100).at(5, 5), Inverse(kFore));
  SetWindowPos(box, nullptr, 0, 0, 200, 25, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Capture narrow = Draw(101, 100);
  ASSERT_EQ(narrow.width, 200);
  EXPECT_EQ(narrow.at(199, 10), RGB(0xFF, 0xFF, 0xFF));
}

// Drawn back to back, as a copy draws it, the bar looks at the queue at most
// once a millisecond, and still lets a message posted meanwhile run soon.
TEST_F(ProgressBar, DrawnBackToBackItStillLetsAPostedMessageRun) {
  Win32ProgressCanvas canvas(box);
  DrawProgress(canvas, ui, 30, 100);
  appMessages = 0;
  PostMessageW(window, WM_APP, 0, 0);
  const ULONGLONG start = GetTickCount64();
  // No sleeping and no other pump: only the bar can run it.
  while (appMessages == 0 && GetTickCount64() - start < 500) DrawProgress(canvas, ui, 30, 100);
  EXPECT_EQ(appMessages, 1);
}

// The copy's status label: its text at once, on the screen within a frame.
TEST_F(ProgressBar, StatusLabelAnswersWithItsLatestTextAndShowsIt) {
  ASSERT_TRUE(RegisterStatusLabel());
  HWND label = CreateWindowExW(0, kStatusLabelClass, L"", WS_CHILD | WS_VISIBLE, 20, 60, 300, 20,
                               window, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(label, nullptr);
  ui.PumpMessages();
  SetWindowTextW(label, L"1");
  SetWindowTextW(label, L"Bytes copiati: 96.000");  // within the same frame
  EXPECT_EQ(robot::text_of(label), "Bytes copiati: 96.000");
  // The rightmost column that is not the background reaches far past a "1".
  auto inkRight = [&] {
    Capture shot = Grab(label);
    int right = -1;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x)
        if (shot.at(x, y) != shot.at(shot.width - 1, 0)) right = std::max(right, x);
    return right;
  };
  EXPECT_TRUE(robot::poll_until(
      [&] {
        ui.PumpMessages();
        return inkRight() > 60;
      },
      robot::Millis{2000}));
  // A text held back shows at once when asked to.
  const int shorter = inkRight();
  SetWindowTextW(label, L"Bytes copiati: 1");
  SetWindowTextW(label, L"Bytes copiati: 96.000 di 128.000.000");
  ShowHeldBackText(label);
  EXPECT_GT(inkRight(), shorter + 30);
}

// ------------------------------------------------------------ registration

constexpr const char* kMarkKey = "Software\\Tessaro Test\\fm20";

void ClearMark() { RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tessaro Test\\fm20"); }

struct ComponentRegistration : ::testing::Test, wine::Win32Machine<Win32Ui> {
  void SetUp() override { ClearMark(); }
  void TearDown() override { ClearMark(); }
};

TEST_F(ComponentRegistration, ALibraryIsRegisteredByRegsvr32WithoutWaiting) {
  // The forms library stand-in leaves a mark when its DllRegisterServer runs;
  // under another name, in a folder with a blank, it must still be found.
  std::string folder = wine_test::scratch_folder("Registrazione prova");
  std::string library = folder + "\\Griglia.dll";
  ASSERT_TRUE(CopyFileW(robot::widen(wine_test::standin("fm20.dll")).c_str(),
                        robot::widen(library).c_str(), FALSE));

  RegisterComponent(sys, "files\\Griglia.dll", library);
  bool registered = robot::poll_until(
      [] { return wine_test::reg_dword(HKEY_CURRENT_USER, kMarkKey, "Registered") == 1u; },
      robot::Millis(30000));
  EXPECT_TRUE(registered) << "regsvr32 did not register " << library;
}

TEST_F(ComponentRegistration, AProgramThatCannotStartIsReported) {
  EXPECT_FALSE(processes.Start("tessaro-no-such-program.exe", true));
  EXPECT_TRUE(processes.Start("cmd.exe /c exit", true));
}

}  // namespace
}  // namespace tessaro
