#include "wizard/image_stack_win.h"

#include "win32/screen_scale_win.h"

namespace tessaro {

void ImageStack::Create(HWND parent, std::span<const StackedImage> images, HFONT font) {
  parent_ = parent;
  entries_.clear();
  focusSlot_ = -1;
  HWND below = HWND_TOP;
  for (const StackedImage& d : images) {
    HWND image =
        CreateImageButton(parent, d.button, PxRect(d.left, d.top, d.width, d.height), false, font);
    SetWindowPos(image, below, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    below = image;
    entries_.push_back({d.image, d.button.slot, image, d.visible});
  }
  Show();
}

void ImageStack::SetVisible(ButtonImage image, bool visible) {
  for (Entry& e : entries_)
    if (e.image == image) e.visible = visible;
  Show();
}

HWND ImageStack::Seen(int slot) const {
  for (const Entry& e : entries_)
    if (e.slot == slot && IsWindowVisible(e.window)) return e.window;
  return nullptr;
}

bool ImageStack::Focus(int slot) {
  HWND image = Seen(slot);
  if (!image || !IsWindowEnabled(image)) return false;
  focusSlot_ = -1;
  SetFocus(image);
  return true;
}

void ImageStack::Show() {
  HWND focus = GetFocus();
  int slot = IsImageButton(focus) && GetParent(focus) == parent_ ? ImageSlot(focus) : -1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    // Seen when Visible and no image above it in its slot is.
    bool show = entries_[i].visible;
    for (size_t above = 0; show && above < i; ++above)
      if (entries_[above].slot == entries_[i].slot && entries_[above].visible) show = false;
    HWND image = entries_[i].window;
    if (image && (IsWindowVisible(image) != FALSE) != show)
      ShowWindow(image, show ? SW_SHOWNA : SW_HIDE);
  }
  // A button that shows no image for a moment (between one image going and
  // the next coming) gets the focus back when it shows one.
  focus = GetFocus();
  if (slot < 0 && focusSlot_ >= 0 && (!focus || focus == parent_)) slot = focusSlot_;
  if (slot < 0) return;
  HWND image = Seen(slot);
  if (image && IsWindowEnabled(image)) {
    focusSlot_ = -1;
    if (focus != image) SetFocus(image);
  } else {
    focusSlot_ = slot;
  }
}

}  // namespace tessaro
