#include "wizard/frm_registry_win.h"

#include "texts.h"
#include "win32/form_window.h"
#include "win32/screen_scale_win.h"
#include "win32/text_fit_win.h"
#include "win32/wide.h"
#include "wizard/control_ids.h"

namespace tessaro {

namespace {

constexpr COLORREF kBack = RGB(244, 246, 250);

LRESULT CALLBACK WaitingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CTLCOLORSTATIC) {
    HDC dc = reinterpret_cast<HDC>(wp);
    SetBkColor(dc, kBack);
    SetTextColor(dc, RGB(12, 36, 70));
    SetDCBrushColor(dc, kBack);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
  }
  if (msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(hwnd, &r);
    SetDCBrushColor(reinterpret_cast<HDC>(wp), kBack);
    FillRect(reinterpret_cast<HDC>(wp), &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return 1;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void FrmRegistry::Show(HWND owner) {
  if (hwnd_) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WindowClassLook look;
  look.cursor = IDC_WAIT;
  if (!RegisterWindowClassOnce(ids::waiting::kClass, WaitingProc, look)) return;

  font_.Reset(CreateFontW(-Px(195), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                          CLEARTYPE_QUALITY, 0, L"Tahoma"));
  int width = Px(5400), height = Px(1000);
  RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) GetWindowRect(owner, &over);
  int x = over.left + (over.right - over.left - width) / 2;
  int y = over.top + (over.bottom - over.top - height) / 2;
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, ids::waiting::kClass, L"", WS_POPUP | WS_BORDER, x, y,
                          width, height, owner, nullptr, instance, nullptr);
  if (!hwnd_) return;
  HWND label = CreateWindowExW(0, L"STATIC", Widen(texts::kWaitingRegistry).c_str(),
                               WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::waiting::Attesa)),
                               instance, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  Fit();
  ShowWindow(hwnd_, SW_SHOWNA);
  UpdateWindow(hwnd_);
}

// The label in the middle of the window, as tall as its text in lines as
// wide as the window allows; the window grows when the text needs it.
void FrmRegistry::Fit() {
  HWND label = GetDlgItem(hwnd_, ids::waiting::Attesa);
  RECT client;
  GetClientRect(hwnd_, &client);
  const int margin = Px(120);
  const int width = client.right - 2 * margin;
  const int need = MeasureText(static_cast<HFONT>(font_.Get()), WindowText(label), width, false).cy;
  if (need + 2 * margin > client.bottom) {
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    const int grow = need + 2 * margin - client.bottom;
    SetWindowPos(hwnd_, nullptr, frame.left, frame.top - grow / 2, frame.right - frame.left,
                 frame.bottom - frame.top + grow, SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(hwnd_, &client);
  }
  SetWindowPos(label, nullptr, margin, (client.bottom - need) / 2, width, need,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void FrmRegistry::SetText(const std::string& text) {
  if (!hwnd_) return;
  HWND label = GetDlgItem(hwnd_, ids::waiting::Attesa);
  SetWindowTextW(label, Widen(text).c_str());
  Fit();
  UpdateWindow(hwnd_);
}

void FrmRegistry::Close() {
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

}  // namespace tessaro
