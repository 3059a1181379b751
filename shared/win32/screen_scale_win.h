#pragma once
// The one scale of both programs' windows. Positions and sizes designed in
// twips become screen pixels through the screen's DPI, read once: the
// programs are system-DPI aware, so it cannot change while they run. Windows
// gives a system-DPI-aware program the same DPI across and down.
#include <windows.h>

namespace tessaro {

int ScreenDpi();
// Twips per screen pixel, not rounded (7.5 at 192 dpi).
double ScreenTwipsPerPixel();

// Twips to pixels, for positions, sizes and font heights.
inline int Px(int twips) { return MulDiv(twips, ScreenDpi(), 1440); }
inline RECT PxRect(int left, int top, int width, int height) {
  return {Px(left), Px(top), Px(left + width), Px(top + height)};
}

}  // namespace tessaro
