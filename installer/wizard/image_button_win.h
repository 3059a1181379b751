#pragma once
// Image buttons: child windows that paint a button picture of our own and
// tell their parent about the pointer and clicks through WM_COMMAND.
#include <windows.h>

namespace tessaro {

enum class ImageLook { Normal, Blue, Yellow, Disabled };

// WM_COMMAND notification codes sent by an image to its parent.
constexpr WORD kImageClicked = 0;
constexpr WORD kImageMouseMove = 0x100;

// Creates the image at a position in pixels, visible or hidden.
HWND CreateImageButton(HWND parent, int id, const wchar_t* caption, ImageLook look, RECT place,
                       bool visible, HFONT font);

}  // namespace tessaro
