#pragma once
// Window regions for the borderless wizard and quit dialog.
#include <windows.h>

namespace tessaro {

// The caller applies the region with SetWindowRgn, which takes it over.
HRGN BuildSetupRegion(float sx, float sy, short ox, short oy);
HRGN BuildQuitRegion(float sx, float sy, short ox, short oy);

}  // namespace tessaro
