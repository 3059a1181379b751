#include "progress_canvas_win.h"

#include <algorithm>
#include <cmath>

#include "form_window.h"
#include "frame_pacer.h"
#include "handles.h"
#include "screen_scale_win.h"
#include "wide.h"

namespace tessaro {

namespace {

constexpr wchar_t kBoxClass[] = L"TessaroProgressBox";

struct BoxState {
  COLORREF back = GetSysColor(COLOR_BTNFACE);
  COLORREF fore = GetSysColor(COLOR_BTNTEXT);
  HFONT font = nullptr;  // not ours
  GdiObject image;       // what has been drawn, as big as the client area
  SIZE imageSize{};
  // Holds `image` selected from the first drawing to the box's end, with the
  // DC brush selected: a fill is a colour and one PatBlt, no GDI object made.
  MemoryDc dc;
  HGDIOBJ firstBitmap = nullptr;  // the DC's own, put back before `image` goes
  int shown = -1;                 // the percentage `image` holds; -1: none
  bool inBar = false;             // between BeginBar and EndBar
  FramePacer pacer;               // for finished bars (EndBar)
  std::string tag;

  BoxState() = default;
  BoxState(const BoxState&) = delete;
  BoxState& operator=(const BoxState&) = delete;
  ~BoxState() { DropImage(); }
  // A bitmap still selected into a DC cannot be deleted.
  void DropImage() {
    if (dc && firstBitmap) SelectObject(dc.Get(), firstBitmap);
    firstBitmap = nullptr;
    image.Reset();
    imageSize = {};
    shown = -1;
  }
};

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

BoxState* StateOf(HWND box) {
  // Only our own boxes carry a BoxState in their user data.
  if (!box || GetWindowLongPtrW(box, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&BoxProc))
    return nullptr;
  return reinterpret_cast<BoxState*>(GetWindowLongPtrW(box, GWLP_USERDATA));
}

SIZE ClientSize(HWND box) {
  RECT client{};
  GetClientRect(box, &client);
  return {client.right - client.left, client.bottom - client.top};
}

void FillWith(HDC dc, const RECT& area, COLORREF colour) {
  GdiObject brush(CreateSolidBrush(colour));
  FillRect(dc, &area, static_cast<HBRUSH>(brush.Get()));
}

// With the DC brush selected (as in BoxState::dc).
void PatFill(HDC dc, const RECT& area, COLORREF colour, DWORD rop) {
  SetDCBrushColor(dc, colour);
  PatBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, rop);
}

HFONT FontOf(const BoxState& state) {
  return state.font ? state.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Paint(HWND box, HDC dc) {
  BoxState* state = StateOf(box);
  SIZE size = ClientSize(box);
  RECT all{0, 0, size.cx, size.cy};
  if (!state || !state->image) {
    FillWith(dc, all, state ? state->back : GetSysColor(COLOR_BTNFACE));
    return;
  }
  if (size.cx != state->imageSize.cx || size.cy != state->imageSize.cy)
    FillWith(dc, all, state->back);  // resized since the last drawing
  BitBlt(dc, 0, 0, state->imageSize.cx, state->imageSize.cy, state->dc.Get(), 0, 0, SRCCOPY);
}

// On the screen now, through the window's DC: no paint message, no round
// trip. A hidden box is painted by WM_PAINT when it shows.
void ShowNow(HWND box, BoxState& state) {
  if (IsWindowVisible(box)) {
    if (WindowDc dc(box); dc) Paint(box, dc.Get());
  }
  state.pacer.Drawn(box);
}

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam != FramePacer::kTimerId) break;
      if (BoxState* state = StateOf(window)) ShowNow(window, *state);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      Paint(window, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_NCDESTROY:
      delete StateOf(window);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterBoxClass() { return RegisterWindowClassOnce(kBoxClass, BoxProc); }

bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

// The box's memory DC with its bitmap, ready to draw into; null when the box
// is not ours or cannot have one. The bitmap follows the client size: a box
// that lost its border, or was resized, gets a new one in the back colour
// (the next bar repaints the whole of it anyway).
HDC Surface(HWND box, BoxState* state) {
  if (!state) return nullptr;
  SIZE size = ClientSize(box);
  if (size.cx <= 0 || size.cy <= 0) return nullptr;
  if (state->image && SameSize(size, state->imageSize)) return state->dc.Get();

  WindowDc screen(box);
  if (!screen) return nullptr;
  if (!state->dc) {
    state->dc.Reset(CreateCompatibleDC(screen.Get()));
    if (!state->dc) return nullptr;
    SelectObject(state->dc.Get(), GetStockObject(DC_BRUSH));
    SetBkMode(state->dc.Get(), TRANSPARENT);
  }
  state->DropImage();
  GdiObject image(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
  if (!image) return nullptr;
  state->firstBitmap = SelectObject(state->dc.Get(), image.Get());
  state->image = std::move(image);
  state->imageSize = size;
  PatFill(state->dc.Get(), RECT{0, 0, size.cx, size.cy}, state->back, PATCOPY);
  return state->dc.Get();
}

// Outside a bar each primitive shows at once what it drew.
void Drawn(HWND box, const BoxState& state, const RECT* area) {
  if (!state.inBar) InvalidateRect(box, area, FALSE);
}

bool HasBorder(HWND box) {
  constexpr LONG_PTR kEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE;
  return (GetWindowLongPtrW(box, GWL_STYLE) & WS_BORDER) ||
         (GetWindowLongPtrW(box, GWL_EXSTYLE) & kEdges);
}

int Pixels(double twips) { return static_cast<int>(std::lround(twips / ScreenTwipsPerPixel())); }

// Both corner pixels belong to the box, as with the classic filled line.
RECT PixelRect(const TwipBox& box) {
  int x1 = Pixels(box.x1), x2 = Pixels(box.x2);
  int y1 = Pixels(box.y1), y2 = Pixels(box.y2);
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
}

SIZE TextExtent(HWND box, const std::string& text) {
  SIZE extent{};
  BoxState* state = StateOf(box);
  HDC dc = Surface(box, state);
  if (!dc) return extent;
  SelectedObject font(dc, FontOf(*state));
  std::wstring wide = Widen(text);
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
  return extent;
}

}  // namespace

HWND CreateProgressBox(HWND parent, int id, int x, int y, int width, int height) {
  if (!RegisterBoxClass()) return nullptr;
  HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, kBoxClass, L"", WS_CHILD | WS_VISIBLE, x, y, width,
                             height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
  if (!box) return nullptr;
  // Owned by the window from here on: WM_NCDESTROY deletes it.
  SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new BoxState));
  return box;
}

void SetProgressBoxLook(HWND box, uint32_t back, uint32_t fore, HFONT font) {
  BoxState* state = StateOf(box);
  if (!state) return;
  state->back = back;
  state->fore = fore;
  state->font = font;
  state->DropImage();
  InvalidateRect(box, nullptr, FALSE);
}

std::string ProgressBoxTag(HWND box) {
  BoxState* state = StateOf(box);
  return state ? state->tag : std::string();
}

void Win32ProgressCanvas::RemoveBorder() {
  if (!HasBorder(box_)) return;
  LONG_PTR style = GetWindowLongPtrW(box_, GWL_STYLE);
  LONG_PTR exStyle = GetWindowLongPtrW(box_, GWL_EXSTYLE);
  constexpr LONG_PTR kEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE;
  SetWindowLongPtrW(box_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER));
  SetWindowLongPtrW(box_, GWL_EXSTYLE, exStyle & ~kEdges);
  // The frame is recomputed only on SWP_FRAMECHANGED; the outer size stays
  // and the client area grows into the old edge.
  SetWindowPos(box_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

double Win32ProgressCanvas::InnerWidth() {
  return StateOf(box_) ? ClientSize(box_).cx * ScreenTwipsPerPixel() : 0;
}

double Win32ProgressCanvas::InnerHeight() {
  return StateOf(box_) ? ClientSize(box_).cy * ScreenTwipsPerPixel() : 0;
}

double Win32ProgressCanvas::TwipsPerPixel() { return ScreenTwipsPerPixel(); }

uint32_t Win32ProgressCanvas::BackColour() {
  BoxState* state = StateOf(box_);
  return state ? state->back : 0;
}

void Win32ProgressCanvas::FillBox(const TwipBox& box, uint32_t colour, Pen pen) {
  BoxState* state = StateOf(box_);
  HDC dc = Surface(box_, state);
  if (!dc) return;
  RECT area = PixelRect(box);
  // PATINVERT is brush XOR screen: a white brush inverts, a black one keeps.
  PatFill(dc, area, colour, pen == Pen::Xor ? PATINVERT : PATCOPY);
  Drawn(box_, *state, &area);
}

void Win32ProgressCanvas::Outline(const TwipBox& box, uint32_t colour) {
  BoxState* state = StateOf(box_);
  HDC dc = Surface(box_, state);
  if (!dc) return;
  RECT area = PixelRect(box);
  // The four one-pixel sides, as FrameRect draws them.
  const LONG l = area.left, t = area.top, r = area.right, b = area.bottom;
  for (const RECT& side :
       {RECT{l, t, r, t + 1}, RECT{l, b - 1, r, b}, RECT{l, t, l + 1, b}, RECT{r - 1, t, r, b}})
    PatFill(dc, side, colour, PATCOPY);
  Drawn(box_, *state, &area);
}

double Win32ProgressCanvas::TextWidth(const std::string& text) {
  return TextExtent(box_, text).cx * ScreenTwipsPerPixel();
}

double Win32ProgressCanvas::TextHeight(const std::string& text) {
  return TextExtent(box_, text).cy * ScreenTwipsPerPixel();
}

void Win32ProgressCanvas::PrintText(double x, double y, const std::string& text) {
  BoxState* state = StateOf(box_);
  HDC dc = Surface(box_, state);
  if (!dc) return;
  SelectedObject font(dc, FontOf(*state));
  SetTextColor(dc, state->fore);
  std::wstring wide = Widen(text);
  TextOutW(dc, Pixels(x), Pixels(y), wide.c_str(), static_cast<int>(wide.size()));
  Drawn(box_, *state, nullptr);
}

void Win32ProgressCanvas::SetTag(const std::string& tag) {
  if (BoxState* state = StateOf(box_)) state->tag = tag;
}

bool Win32ProgressCanvas::StillShows(int percent) {
  BoxState* state = StateOf(box_);
  return state && state->image && state->shown == percent &&
         SameSize(ClientSize(box_), state->imageSize) && !HasBorder(box_);
}

void Win32ProgressCanvas::BeginBar() {
  if (BoxState* state = StateOf(box_)) state->inBar = true;
}

void Win32ProgressCanvas::EndBar(int percent) {
  BoxState* state = StateOf(box_);
  if (!state) return;
  state->inBar = false;
  state->shown = state->image ? percent : -1;
  if (state->pacer.MayDraw(box_)) ShowNow(box_, *state);
}

void ShowHeldBackBar(HWND box) {
  BoxState* state = StateOf(box);
  if (state && state->pacer.HeldBack()) ShowNow(box, *state);
}

}  // namespace tessaro
