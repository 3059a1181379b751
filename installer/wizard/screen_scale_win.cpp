#include "screen_scale_win.h"

#include "win32/handles.h"

namespace tessaro {

int ScreenDpi() {
  static const int dpi = [] {
    WindowDc screen(nullptr);
    int value = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return value > 0 ? value : 96;
  }();
  return dpi;
}

OutlineScale ScreenOutlineScale(float sx, float sy, short ox, short oy) {
  const double twipsPerPixel = TwipsPerPixel(ScreenDpi());
  return OutlineScale{sx, sy, ox, oy, twipsPerPixel, twipsPerPixel};
}

}  // namespace tessaro
