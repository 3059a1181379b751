#include "wizard/image_button_win.h"

#include <commctrl.h>

#include "win32/handles.h"
#include "win32/wide.h"

namespace tessaro {

namespace {

constexpr UINT_PTR kSubclassId = 0x7E55;
// The button's data also hangs on a window property, so that any window can be
// asked whether it is an image button: the x86-64 import library of comctl32
// has no GetWindowSubclass (the DLL exports it by ordinal only).
constexpr const wchar_t* kDataProperty = L"TessaroImageButton";

struct ImageData {
  ImageLook look;
  ImageArrow arrow;
  int slot;
};

LRESULT CALLBACK ImageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);

ImageData* DataOf(HWND hwnd) { return static_cast<ImageData*>(GetPropW(hwnd, kDataProperty)); }

struct Colours {
  COLORREF face, edge, text;
};

Colours ColoursOf(ImageLook look) {
  switch (look) {
    case ImageLook::Blue:
      return {RGB(40, 110, 200), RGB(16, 50, 110), RGB(255, 255, 255)};
    case ImageLook::Yellow:
      return {RGB(250, 210, 60), RGB(150, 110, 0), RGB(40, 30, 0)};
    case ImageLook::Disabled:
      return {RGB(196, 202, 210), RGB(150, 156, 166), RGB(110, 116, 126)};
    default:
      return {RGB(226, 234, 244), RGB(12, 36, 70), RGB(12, 36, 70)};
  }
}

void Notify(HWND hwnd, WORD code) {
  SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd)), code),
               reinterpret_cast<LPARAM>(hwnd));
}

LRESULT CALLBACK ImageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* image = reinterpret_cast<ImageData*>(data);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_DRAWITEM covers every pixel
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, image->look == ImageLook::Disabled ? IDC_ARROW : IDC_HAND));
      return TRUE;
    case WM_MOUSEMOVE:
      if (PointerMoved(hwnd, lp)) Notify(hwnd, kImageMouseMove);
      break;
    case WM_LBUTTONDBLCLK:
      // Every click counts, however quick: the second one of a double click
      // is a press like the first.
      return DefSubclassProc(hwnd, WM_LBUTTONDOWN, wp, lp);
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, ImageProc, kSubclassId);
      RemovePropW(hwnd, kDataProperty);
      delete image;
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

HWND CreateImageButton(HWND parent, const ImageButtonDesign& design, RECT place, bool visible,
                       HFONT font) {
  const bool disabled = design.look == ImageLook::Disabled;
  HWND hwnd = CreateWindowExW(
      0, WC_BUTTONW, Widen(design.name).c_str(),
      WS_CHILD | WS_CLIPSIBLINGS | BS_OWNERDRAW | (visible ? WS_VISIBLE : 0) |
          (disabled ? WS_DISABLED : 0),
      place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  auto* data = new ImageData{design.look, design.arrow, design.slot};
  SetPropW(hwnd, kDataProperty, data);
  SetWindowSubclass(hwnd, ImageProc, kSubclassId, reinterpret_cast<DWORD_PTR>(data));
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

bool PointerMoved(HWND window, LPARAM point) {
  static POINT last{-32768, -32768};
  POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  ClientToScreen(window, &at);
  const bool moved = at.x != last.x || at.y != last.y;
  last = at;
  return moved;
}

bool IsImageButton(HWND window) { return window && DataOf(window) != nullptr; }

int ImageSlot(HWND window) {
  ImageData* data = window ? DataOf(window) : nullptr;
  return data ? data->slot : -1;
}

const wchar_t* ImageCaption(HWND window, wchar_t (&buffer)[64]) {
  wchar_t name[56] = {};
  GetWindowTextW(window, name, 55);
  ImageData* data = DataOf(window);
  ImageArrow arrow = data ? data->arrow : ImageArrow::None;
  // Put together by hand: swprintf would bring the whole printf family
  // (about 20 KB) into the program for this one caption.
  wchar_t* out = buffer;
  if (arrow == ImageArrow::Back) *out++ = L'<', *out++ = L' ';
  for (const wchar_t* in = name; *in;) *out++ = *in++;
  if (arrow == ImageArrow::Forward) *out++ = L' ', *out++ = L'>';
  *out = L'\0';
  return buffer;
}

bool DrawImageButton(const DRAWITEMSTRUCT& item) {
  ImageData* data = DataOf(item.hwndItem);
  if (!data) return false;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  // A disabled Next is drawn in the disabled look whatever its own.
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  Colours c = ColoursOf(disabled ? ImageLook::Disabled : data->look);
  // The parent's background shows around the rounded corners.
  HWND parent = GetParent(item.hwndItem);
  POINT origin{0, 0};
  MapWindowPoints(item.hwndItem, parent, &origin, 1);
  POINT old;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);

  GdiObject face(CreateSolidBrush(c.face));
  GdiObject edge(CreatePen(PS_SOLID, 1, c.edge));
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  {
    SelectedObject useBrush(dc, face.Get());
    SelectedObject usePen(dc, edge.Get());
    int round = (r.bottom - r.top) / 2;
    RoundRect(dc, r.left, r.top, r.right, r.bottom, round, round);
  }
  wchar_t caption[64];
  ImageCaption(item.hwndItem, caption);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
  {
    SelectedObject useFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, c.text);
    RECT text = r;
    if (pressed) OffsetRect(&text, 1, 1);
    DrawTextW(dc, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (item.itemState & ODS_FOCUS) {
    // The focus mark: a dotted frame inside the button's edge.
    RECT mark = r;
    int inset = (r.bottom - r.top) / 6;
    InflateRect(&mark, -(r.bottom - r.top) / 3, -inset);
    SetTextColor(dc, c.text);
    SetBkColor(dc, c.face);
    DrawFocusRect(dc, &mark);
  }
  return true;
}

}  // namespace tessaro
