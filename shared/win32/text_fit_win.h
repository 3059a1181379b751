#pragma once
// Text measured in the font it is shown in, and fonts made smaller when a
// text cannot fit its room however tall its control grows. Sizes are pixels.
#include <windows.h>

#include <string>
#include <vector>

#include "handles.h"

namespace tessaro {

struct FontSpec {
  const wchar_t* face;
  int weight;
  int height;  // character height in pixels (a negative lfHeight)
};

// The forms' fonts, made once per size and kept while the form lives.
class FontBook {
 public:
  HFONT Get(const FontSpec& spec);
  // A font as `base` has it (a system font: its face, weight, quality and
  // the rest), `height` pixels high as `base` counts its height.
  HFONT Get(const LOGFONTW& base, int height);

 private:
  HFONT Find(const LOGFONTW& font);  // made on first use
  struct Entry {
    LOGFONTW key;
    GdiObject font;
  };
  std::vector<Entry> fonts_;  // the handles stay when it grows
};

// The text's extent in `font`: broken into lines `width` wide (as labels and
// multi-line text boxes break them), or on one line.
SIZE MeasureText(HFONT font, const std::wstring& text, int width, bool oneLine);
// The widest of the text's own lines (CR LF, LF or CR end them), unbroken.
int WidestLine(HFONT font, const std::wstring& text);
// A line's height in `font`, as a text box spaces its lines.
int LineHeight(HFONT font);
std::wstring WindowText(HWND window);

// What a text needs: the font chosen and the height it then takes.
struct TextFit {
  HFONT font = nullptr;
  int size = 0;  // the font's character height
  int height = 0;
  bool fits = false;
};

// The largest font from `base` down to two thirds of it whose text, `width`
// wide (one line with `oneLine`), is no taller than `room`. When none fits,
// the smallest, with `fits` false.
TextFit FitText(FontBook& fonts, FontSpec base, const std::wstring& text, int width, int room,
                bool oneLine);
// The same from a system font: `size` is the magnitude of its lfHeight.
TextFit FitText(FontBook& fonts, const LOGFONTW& base, const std::wstring& text, int width,
                int room, bool oneLine);

// Room that a check box or option button leaves for its caption: its box and
// the gap after it take this much of the width.
int CheckBoxAllowance();

// Puts the font on the control, repainting it, unless it has it already.
void UseFont(HWND control, HFONT font);

}  // namespace tessaro
