#pragma once
// Puts a control that changes with every block of a copy (thousands of times
// a second) on the screen at most once per frame. Under Wine each change that
// reaches the screen costs a flush of the window surface to the X server at
// the next message check, several times what the block itself costs, and no
// screen shows more than a frame anyway. What is held back is drawn when the
// frame is over: by the next change, or by a timer.
#include <windows.h>

namespace tessaro {

class FramePacer {
 public:
  // The WM_TIMER the window gets for a drawing held back; it then draws what
  // it holds and calls Drawn.
  static constexpr UINT_PTR kTimerId = 0x7E55;
  static constexpr DWORD kFrameMs = 16;

  // True when the window may draw on the screen now. Otherwise the drawing
  // is held back, with the timer set for the end of the frame.
  bool MayDraw(HWND window) {
    const DWORD since = GetTickCount() - last_;
    if (!drawn_ || since >= kFrameMs) return true;
    if (!timer_) timer_ = SetTimer(window, kTimerId, kFrameMs - since, nullptr) != 0;
    return !timer_;  // without a timer nothing would ever show it: draw now
  }

  // The window has just drawn what it holds; a timer still set goes.
  void Drawn(HWND window) {
    last_ = GetTickCount();
    drawn_ = true;
    if (timer_) KillTimer(window, kTimerId);
    timer_ = false;
  }

  bool HeldBack() const { return timer_; }

 private:
  DWORD last_ = 0;
  bool drawn_ = false;
  bool timer_ = false;
};

}  // namespace tessaro
