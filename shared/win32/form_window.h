#pragma once
// Routes a window's messages to the form object that created it (passed as
// the creation parameter), registers the programs' window classes, and
// writes down what a handler throws, for the forms of both programs.
#include <windows.h>

#include <string>

namespace tessaro {

// Where a handler's exception is written besides the debugger's output: the
// installer points it at its transcript. Null (the start): nowhere else.
using HandlerFailureNote = void (*)(const std::string& line);
void SetHandlerFailureNote(HandlerFailureNote note);
// From inside a catch block of `window`'s procedure, handling `message`: a
// handler's failure must not unwind through Windows' own frames, so it stops
// there, and is written down rather than dropped.
void NoteHandlerFailure(HWND window, UINT message) noexcept;

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
  try {
    return (self->*handler)(msg, wp, lp);
  } catch (...) {
    NoteHandlerFailure(hwnd, msg);
    return 0;
  }
}

// How a window class of the programs looks besides its procedure.
struct WindowClassLook {
  const wchar_t* cursor = IDC_ARROW;  // a system pointer
  int icon = 0;                       // the program's icon resource; 0: none
  HBRUSH background = nullptr;        // null: the window paints all of itself
};

// Registers a window class of this program once; a later call finds it
// registered and answers true.
bool RegisterWindowClassOnce(const wchar_t* name, WNDPROC proc, const WindowClassLook& look = {});

// Lets the system move a borderless window as if its caption were dragged.
inline void DragByCaption(HWND hwnd) {
  ReleaseCapture();
  SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

}  // namespace tessaro
