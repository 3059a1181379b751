#include "unattended/silent_window_win.h"

#include "texts.h"
#include "win32/form_window.h"
#include "win32/handles.h"
#include "win32/screen_scale_win.h"
#include "win32/status_label_win.h"
#include "win32/wide.h"

namespace tessaro {

namespace {

constexpr const wchar_t* kClass = L"TessaroSilentProgress";
// Twips, as the wizard's copy page: a bar is 4095 wide and 285 high.
constexpr int kMargin = 240;
constexpr int kBarWidth = 4095;
constexpr int kBarHeight = 285;
constexpr int kGap = 90;

}  // namespace

LRESULT CALLBACK SilentWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_CTLCOLORSTATIC:
      SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNTEXT));
      SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_CLOSE:
      return 0;  // the run cannot be stopped from here
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void SilentWindow::Create(HINSTANCE instance, bool visible) {
  int line = 0;
  if (visible && RegisterWindowClassOnce(kClass, WindowProc) && RegisterStatusLabel()) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    font_.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
    HFONT font = static_cast<HFONT>(font_.Get() ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
    // A status line is as high as the font's own line, with a little room.
    TEXTMETRICW tm{};
    {
      WindowDc screen(nullptr);
      SelectedObject use(screen.Get(), font);
      GetTextMetricsW(screen.Get(), &tm);
    }
    line = tm.tmHeight + tm.tmExternalLeading + 2;

    const int width = Px(kBarWidth + 2 * kMargin);
    const int height = Px(kMargin) * 2 + 2 * (line + Px(kBarHeight)) + Px(kGap) * 3;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_BORDER;
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int outerWidth = frame.right - frame.left, outerHeight = frame.bottom - frame.top;
    hwnd_ = CreateWindowExW(WS_EX_APPWINDOW, kClass, Widen(texts::kWizardCaption).c_str(), style,
                            (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2,
                            (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2, outerWidth,
                            outerHeight, nullptr, nullptr, instance, nullptr);
  }
  int top = Px(kMargin);
  for (int i = 0; i < 2; ++i) {
    if (hwnd_) {
      status_[i] = CreateWindowExW(0, kStatusLabelClass, L"", WS_CHILD | WS_VISIBLE, Px(kMargin),
                                   top, Px(kBarWidth), line, hwnd_, nullptr, instance, nullptr);
      SendMessageW(status_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
      top += line + Px(kGap);
      boxes_[i] = CreateProgressBox(hwnd_, 0, Px(kMargin), top, Px(kBarWidth), Px(kBarHeight));
      SetProgressBoxLook(boxes_[i], GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT),
                         static_cast<HFONT>(font_.Get()));
      top += Px(kBarHeight) + Px(kGap);
    }
    bars_[i].emplace(boxes_[i]);
  }
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
}

void SilentWindow::SetStatusText(int index, const std::string& text) {
  if (HWND label = status_[index == 0 ? 0 : 1]) SetWindowTextW(label, Widen(text).c_str());
}

void SilentWindow::ShowWaitingWindow() {
  for (HWND box : boxes_)
    if (box) ShowHeldBackBar(box);
  SetWaitingText(texts::kWaitingRegistry);
}

void SilentWindow::SetWaitingText(const std::string& text) {
  SetStatusText(0, text);
  SetStatusText(1, "");
  for (HWND label : status_)
    if (label) ShowHeldBackText(label);
}

}  // namespace tessaro
