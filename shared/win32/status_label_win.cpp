#include "status_label_win.h"

#include <algorithm>
#include <string>

#include "form_window.h"
#include "frame_pacer.h"
#include "handles.h"

namespace tessaro {

namespace {

struct LabelState {
  std::wstring text;
  HFONT font = nullptr;  // not ours
  FramePacer pacer;
};

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);

LabelState* StateOf(HWND label) {
  if (!label || GetWindowLongPtrW(label, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&LabelProc))
    return nullptr;
  return reinterpret_cast<LabelState*>(GetWindowLongPtrW(label, GWLP_USERDATA));
}

// As a STATIC paints SS_LEFTNOWORDWRAP | SS_NOPREFIX text.
void Draw(HWND label, HDC dc, const LabelState& state) {
  RECT area;
  GetClientRect(label, &area);
  HWND parent = GetParent(label);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
      parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
  if (!brush)
    brush = reinterpret_cast<HBRUSH>(DefWindowProcW(
        parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
  FillRect(dc, &area, brush);
  SelectedObject font(dc, state.font);
  DrawTextW(dc, state.text.c_str(), static_cast<int>(state.text.size()), &area,
            DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX);
}

// On the screen now, through the window's DC: no paint message, no round
// trip. A hidden label is drawn by WM_PAINT when it shows.
void DrawNow(HWND label, LabelState& state) {
  if (IsWindowVisible(label)) {
    if (WindowDc dc(label); dc) Draw(label, dc.Get(), state);
  }
  state.pacer.Drawn(label);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  LabelState* state = StateOf(label);
  switch (message) {
    case WM_NCCREATE: {
      auto* created = new LabelState;
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (create->lpszName && !IS_INTRESOURCE(create->lpszName)) created->text = create->lpszName;
      // Owned by the window from here on: WM_NCDESTROY deletes it.
      SetWindowLongPtrW(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
      return DefWindowProcW(label, message, wParam, lParam);
    }
    case WM_NCDESTROY:
      delete state;
      SetWindowLongPtrW(label, GWLP_USERDATA, 0);
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // like a STATIC without SS_NOTIFY: clicks go to the parent
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
  }
  if (!state) return DefWindowProcW(label, message, wParam, lParam);
  switch (message) {
    case WM_SETTEXT:
      state->text = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
      if (state->pacer.MayDraw(label)) DrawNow(label, *state);
      return TRUE;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(state->text.size());
    case WM_GETTEXT: {
      if (wParam == 0 || !lParam) return 0;
      auto* out = reinterpret_cast<wchar_t*>(lParam);
      const size_t n = std::min<size_t>(state->text.size(), wParam - 1);
      state->text.copy(out, n);
      out[n] = L'\0';
      return static_cast<LRESULT>(n);
    }
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(label, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_TIMER:
      if (wParam != FramePacer::kTimerId) break;
      DrawNow(label, *state);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(label, &paint);
      Draw(label, dc, *state);
      EndPaint(label, &paint);
      return 0;
    }
  }
  return DefWindowProcW(label, message, wParam, lParam);
}

}  // namespace

bool RegisterStatusLabel() { return RegisterWindowClassOnce(kStatusLabelClass, LabelProc); }

void ShowHeldBackText(HWND label) {
  LabelState* state = StateOf(label);
  if (state && state->pacer.HeldBack()) DrawNow(label, *state);
}

}  // namespace tessaro
