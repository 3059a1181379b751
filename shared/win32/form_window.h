#pragma once
// Routes a window's messages to the form object that created it (passed as
// the creation parameter), for the forms of both programs.
#include <windows.h>

namespace tessaro {

template <typename Form>
LRESULT DispatchToForm(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, HWND Form::*handle,
                       LRESULT (Form::*handler)(UINT, WPARAM, LPARAM)) {
  Form* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->*handle = hwnd;
  } else {
    self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  // A handler's failure must not unwind through Windows' own frames.
  try {
    return (self->*handler)(msg, wp, lp);
  } catch (...) {
    return 0;
  }
}

// Registers a plain window class of this program (arrow pointer, no
// background) once; a later call finds it registered and answers true.
inline bool RegisterWindowClassOnce(const wchar_t* name, WNDPROC proc) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, name, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

// Lets the system move a borderless window as if its caption were dragged.
inline void DragByCaption(HWND hwnd) {
  ReleaseCapture();
  SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace tessaro
