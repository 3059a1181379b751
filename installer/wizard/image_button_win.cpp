#include "image_button_win.h"

#include "win32/handles.h"

namespace tessaro {

namespace {

constexpr const wchar_t* kClass = L"TessaroImage";

struct Colours {
  COLORREF face, edge, text;
};

Colours ColoursOf(ImageLook look) {
  switch (look) {
    case ImageLook::Blue: return {RGB(40, 110, 200), RGB(16, 50, 110), RGB(255, 255, 255)};
    case ImageLook::Yellow: return {RGB(250, 210, 60), RGB(150, 110, 0), RGB(40, 30, 0)};
    case ImageLook::Disabled: return {RGB(196, 202, 210), RGB(150, 156, 166), RGB(128, 134, 144)};
    default: return {RGB(226, 234, 244), RGB(12, 36, 70), RGB(12, 36, 70)};
  }
}

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT r;
  GetClientRect(hwnd, &r);
  auto look = static_cast<ImageLook>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  Colours c = ColoursOf(look);
  // The parent's background shows around the rounded corners.
  POINT origin{0, 0};
  MapWindowPoints(hwnd, GetParent(hwnd), &origin, 1);
  POINT old;
  OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageW(GetParent(hwnd), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
  GdiObject face(CreateSolidBrush(c.face));
  GdiObject edge(CreatePen(PS_SOLID, 1, c.edge));
  HGDIOBJ oldBrush = SelectObject(dc, face.Get());
  HGDIOBJ oldPen = SelectObject(dc, edge.Get());
  int round = (r.bottom - r.top) / 2;
  RoundRect(dc, r.left, r.top, r.right, r.bottom, round, round);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);

  wchar_t caption[64] = {};
  GetWindowTextW(hwnd, caption, 63);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, c.text);
  DrawTextW(dc, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (oldFont) SelectObject(dc, oldFont);
  EndPaint(hwnd, &ps);
}

void Notify(HWND hwnd, WORD code) {
  SendMessageW(GetParent(hwnd), WM_COMMAND,
               MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd)), code),
               reinterpret_cast<LPARAM>(hwnd));
}

LRESULT CALLBACK ImageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      SetPropW(hwnd, L"TessaroFont", reinterpret_cast<HANDLE>(wp));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetPropW(hwnd, L"TessaroFont"));
    case WM_SETCURSOR:
      // The disabled look keeps the ordinary arrow; the others show a hand.
      SetCursor(LoadCursorW(nullptr, static_cast<ImageLook>(GetWindowLongPtrW(
                                         hwnd, GWLP_USERDATA)) == ImageLook::Disabled
                                         ? IDC_ARROW
                                         : IDC_HAND));
      return TRUE;
    case WM_MOUSEMOVE:
      Notify(hwnd, kImageMouseMove);
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd);
      return 0;
    case WM_LBUTTONUP: {
      bool captured = GetCapture() == hwnd;
      if (captured) ReleaseCapture();
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT r;
      GetClientRect(hwnd, &r);
      if (PtInRect(&r, p)) Notify(hwnd, kImageClicked);
      return 0;
    }
    case WM_NCDESTROY:
      RemovePropW(hwnd, L"TessaroFont");
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

HWND CreateImageButton(HWND parent, int id, const wchar_t* caption, ImageLook look, RECT place,
                       bool visible, HFONT font) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ImageProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
    registered = true;
  }
  HWND hwnd = CreateWindowExW(0, kClass, caption,
                              WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0),
                              place.left, place.top, place.right - place.left,
                              place.bottom - place.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(look));
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return hwnd;
}

}  // namespace tessaro
