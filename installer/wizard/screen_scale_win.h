#pragma once
// The one scale of the installer's windows. Positions designed in twips and
// outlines designed in design pixels (15 twips) both become screen pixels
// through the screen's DPI, read once: the programs are system-DPI aware, so
// it cannot change while they run.
#include <windows.h>

#include "outline.h"

namespace tessaro {

int ScreenDpi();

// Twips to pixels, for positions, sizes and font heights.
inline int Px(int twips) { return MulDiv(twips, ScreenDpi(), 1440); }
inline RECT PxRect(int left, int top, int width, int height) {
  return {Px(left), Px(top), Px(left + width), Px(top + height)};
}

// The outlines' conversion, with the same DPI.
OutlineScale ScreenOutlineScale(float sx, float sy, short ox, short oy);

}  // namespace tessaro
