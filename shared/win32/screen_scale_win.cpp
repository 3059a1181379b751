#include "screen_scale_win.h"

#include "handles.h"

namespace tessaro {

int ScreenDpi() {
  static const int dpi = [] {
    WindowDc screen(nullptr);
    int value = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return value > 0 ? value : 96;
  }();
  return dpi;
}

double ScreenTwipsPerPixel() { return 1440.0 / ScreenDpi(); }

}  // namespace tessaro
