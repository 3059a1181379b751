#include "progress_canvas_win.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "handles.h"
#include "wide.h"

namespace tessaro {

namespace {

constexpr wchar_t kBoxClass[] = L"TessaroProgressBox";
constexpr double kTwipsPerInch = 1440.0;

struct BoxState {
  COLORREF back = GetSysColor(COLOR_BTNFACE);
  COLORREF fore = GetSysColor(COLOR_BTNTEXT);
  HFONT font = nullptr;  // not ours
  GdiObject image;       // what has been drawn, as big as the client area
  SIZE imageSize{};
  std::string tag;
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
  MemoryDc source(CreateCompatibleDC(dc));
  SelectedObject use(source.Get(), state->image.Get());
  BitBlt(dc, 0, 0, state->imageSize.cx, state->imageSize.cy, source.Get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
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

bool RegisterBoxClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(instance, kBoxClass, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = BoxProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kBoxClass;
  return RegisterClassExW(&wc) != 0;
}

// The box's bitmap selected into a memory DC for one drawing step. The bitmap
// follows the client size: a box that lost its border, or was resized, gets a
// new one in the back colour (every call repaints the whole bar anyway).
class Image {
 public:
  explicit Image(HWND box) : state_(StateOf(box)) {
    if (!state_) return;
    SIZE size = ClientSize(box);
    if (size.cx <= 0 || size.cy <= 0) return;
    WindowDc screen(box);
    if (!state_->image || size.cx != state_->imageSize.cx || size.cy != state_->imageSize.cy) {
      state_->image.Reset(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
      state_->imageSize = state_->image ? size : SIZE{};
      fresh_ = true;
    }
    if (!state_->image) return;
    dc_.Reset(CreateCompatibleDC(screen.Get()));
    if (!dc_) return;
    selected_.emplace(dc_.Get(), state_->image.Get());
    if (fresh_) FillWith(dc_.Get(), RECT{0, 0, size.cx, size.cy}, state_->back);
  }
  HDC Dc() const { return dc_.Get(); }
  explicit operator bool() const { return static_cast<bool>(dc_); }

 private:
  BoxState* state_;
  bool fresh_ = false;
  MemoryDc dc_;
  std::optional<SelectedObject> selected_;  // released before dc_
};

double MeasureTwipsPerPixel(int logPixels) {
  WindowDc screen(nullptr);
  int dpi = screen ? GetDeviceCaps(screen.Get(), logPixels) : 0;
  return kTwipsPerInch / (dpi > 0 ? dpi : 96);
}

// The programs are system-DPI aware: the screen's DPI is fixed for the
// process, so it is asked once.
double TwipsPerPixelOf(int logPixels) {
  static const double perX = MeasureTwipsPerPixel(LOGPIXELSX);
  static const double perY = MeasureTwipsPerPixel(LOGPIXELSY);
  return logPixels == LOGPIXELSY ? perY : perX;
}

int Pixels(double twips, double twipsPerPixel) {
  return static_cast<int>(std::lround(twips / twipsPerPixel));
}

// Both corner pixels belong to the box, as with the classic filled line.
RECT PixelRect(const TwipBox& box) {
  double perX = TwipsPerPixelOf(LOGPIXELSX), perY = TwipsPerPixelOf(LOGPIXELSY);
  int x1 = Pixels(box.x1, perX), x2 = Pixels(box.x2, perX);
  int y1 = Pixels(box.y1, perY), y2 = Pixels(box.y2, perY);
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
}

SIZE TextExtent(HWND box, const std::string& text) {
  SIZE extent{};
  BoxState* state = StateOf(box);
  if (!state) return extent;
  WindowDc screen(box);
  MemoryDc dc(CreateCompatibleDC(screen.Get()));
  if (!dc) return extent;
  SelectedObject font(dc.Get(), FontOf(*state));
  std::wstring wide = Widen(text);
  GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
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
  state->image.Reset();
  InvalidateRect(box, nullptr, FALSE);
}

std::string ProgressBoxTag(HWND box) {
  BoxState* state = StateOf(box);
  return state ? state->tag : std::string();
}

void Win32ProgressCanvas::RemoveBorder() {
  LONG_PTR style = GetWindowLongPtrW(box_, GWL_STYLE);
  LONG_PTR exStyle = GetWindowLongPtrW(box_, GWL_EXSTYLE);
  constexpr LONG_PTR kEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE;
  if (!(style & WS_BORDER) && !(exStyle & kEdges)) return;
  SetWindowLongPtrW(box_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER));
  SetWindowLongPtrW(box_, GWL_EXSTYLE, exStyle & ~kEdges);
  // The frame is recomputed only on SWP_FRAMECHANGED; the outer size stays
  // and the client area grows into the old edge.
  SetWindowPos(box_, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

double Win32ProgressCanvas::InnerWidth() {
  return StateOf(box_) ? ClientSize(box_).cx * TwipsPerPixelOf(LOGPIXELSX) : 0;
}

double Win32ProgressCanvas::InnerHeight() {
  return StateOf(box_) ? ClientSize(box_).cy * TwipsPerPixelOf(LOGPIXELSY) : 0;
}

double Win32ProgressCanvas::TwipsPerPixel() { return TwipsPerPixelOf(LOGPIXELSX); }

uint32_t Win32ProgressCanvas::BackColour() {
  BoxState* state = StateOf(box_);
  return state ? state->back : 0;
}

void Win32ProgressCanvas::FillBox(const TwipBox& box, uint32_t colour, Pen pen) {
  Image image(box_);
  if (!image) return;
  RECT area = PixelRect(box);
  GdiObject brush(CreateSolidBrush(colour));
  SelectedObject use(image.Dc(), brush.Get());
  // PATINVERT is brush XOR screen: a white brush inverts, a black one keeps.
  PatBlt(image.Dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
         pen == Pen::Xor ? PATINVERT : PATCOPY);
  InvalidateRect(box_, &area, FALSE);
}

void Win32ProgressCanvas::Outline(const TwipBox& box, uint32_t colour) {
  Image image(box_);
  if (!image) return;
  RECT area = PixelRect(box);
  GdiObject brush(CreateSolidBrush(colour));
  FrameRect(image.Dc(), &area, static_cast<HBRUSH>(brush.Get()));
  InvalidateRect(box_, &area, FALSE);
}

double Win32ProgressCanvas::TextWidth(const std::string& text) {
  return TextExtent(box_, text).cx * TwipsPerPixelOf(LOGPIXELSX);
}

double Win32ProgressCanvas::TextHeight(const std::string& text) {
  return TextExtent(box_, text).cy * TwipsPerPixelOf(LOGPIXELSY);
}

void Win32ProgressCanvas::PrintText(double x, double y, const std::string& text) {
  Image image(box_);
  BoxState* state = StateOf(box_);
  if (!image || !state) return;
  SelectedObject font(image.Dc(), FontOf(*state));
  SetTextColor(image.Dc(), state->fore);
  SetBkMode(image.Dc(), TRANSPARENT);
  std::wstring wide = Widen(text);
  TextOutW(image.Dc(), Pixels(x, TwipsPerPixelOf(LOGPIXELSX)),
           Pixels(y, TwipsPerPixelOf(LOGPIXELSY)), wide.c_str(), static_cast<int>(wide.size()));
  InvalidateRect(box_, nullptr, FALSE);
}

void Win32ProgressCanvas::SetTag(const std::string& tag) {
  if (BoxState* state = StateOf(box_)) state->tag = tag;
}

}  // namespace tessaro
