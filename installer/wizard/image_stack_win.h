#pragma once
// The image buttons of a form. A button is a slot of images stacked one above
// the other (normal, highlighted, disabled) and only the topmost one that is
// Visible is seen: that one alone is shown, so no sliver of an image below
// peeps out from under it, and the focus stays with the button when its image
// changes.
#include <windows.h>

#include <span>
#include <vector>

#include "wizard/hover.h"
#include "wizard/image_button_win.h"

namespace tessaro {

struct StackedImage {
  ButtonImage image;
  ImageButtonDesign button;
  int left, top, width, height;  // twips
  bool visible;                  // when the form opens
};

class ImageStack {
 public:
  // Makes the images on `parent`, each just below the one before it (so the
  // first of a slot lies on top), and shows each slot's image.
  void Create(HWND parent, std::span<const StackedImage> images, HFONT font);
  // An image's Visible setting; the slot then shows its topmost Visible image.
  void SetVisible(ButtonImage image, bool visible);
  // The image of the slot that is seen; null when none is.
  HWND Seen(int slot) const;
  // Gives the focus to the slot's image when it is seen and enabled.
  bool Focus(int slot);

 private:
  struct Entry {
    ButtonImage image;
    int slot;
    HWND window;
    bool visible;
  };
  void Show();

  HWND parent_ = nullptr;
  std::vector<Entry> entries_;
  int focusSlot_ = -1;  // a slot that had the focus while it showed no image
};

}  // namespace tessaro
