#pragma once
// Image buttons: owner-drawn push buttons that paint a button picture of our
// own. Being real buttons they take the focus (showing a focus mark), answer
// Space, and tell screen readers their name and role; they also tell their
// parent about the pointer (kImageMouseMove) besides their clicks.
#include <windows.h>

namespace tessaro {

enum class ImageLook { Normal, Blue, Yellow, Disabled };
// The arrow drawn beside the name: "< Indietro", "Avanti >".
enum class ImageArrow { None, Back, Forward };

// WM_COMMAND notification codes sent by an image to its parent.
constexpr WORD kImageClicked = BN_CLICKED;
constexpr WORD kImageMouseMove = 0x100;

struct ImageButtonDesign {
  int id;
  const char* name;  // the window text: what a screen reader says
  ImageArrow arrow;
  ImageLook look;
  int slot;  // the images of one button share a slot (ids::slot)
};

// Creates the image at a position in pixels, visible or hidden. The disabled
// look is a disabled window: it takes neither clicks nor the focus.
HWND CreateImageButton(HWND parent, const ImageButtonDesign& design, RECT place, bool visible,
                       HFONT font);
bool IsImageButton(HWND window);
int ImageSlot(HWND window);
// The text drawn on the image (its name with the arrow).
const wchar_t* ImageCaption(HWND window, wchar_t (&buffer)[64]);
// Whether a WM_MOUSEMOVE of `window` at `point` (its lParam) is a move of the
// pointer. Windows also sends one when a window appears or goes under a
// pointer that stays still: that one must not undo a highlight the keyboard
// has just given.
bool PointerMoved(HWND window, LPARAM point);

// Paints an image for the parent's WM_DRAWITEM; false for any other control.
bool DrawImageButton(const DRAWITEMSTRUCT& item);

}  // namespace tessaro
