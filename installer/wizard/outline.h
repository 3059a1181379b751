#pragma once
// The outlines of the borderless wizard and quit dialog: unions of rounded
// rectangles, rectangles and polygons given in design pixels (15 twips each)
// and converted to screen pixels with the screen's twips per pixel, the same
// exact scale the controls are placed with.
#include <vector>

namespace tessaro {

struct OutlinePoint {
  int x = 0;
  int y = 0;
};

struct OutlineShape {
  enum class Kind { RoundRect, Rect, Polygon };
  Kind kind = Kind::Rect;
  // Rectangles: left, top, right, bottom (right and bottom excluded).
  // Polygons: the vertices in order, alternate fill.
  std::vector<OutlinePoint> points;
  int ellipseWidth = 0;  // corner ellipse of a rounded rectangle
  int ellipseHeight = 0;
};

// How design pixels become screen pixels.
struct OutlineScale {
  float sx = 1.0f, sy = 1.0f;  // scale
  int ox = 0, oy = 0;          // offset in pixels
  double tx = 15, ty = 15;     // the screen's twips per pixel
};

// Twips per pixel for a screen of this many dots per inch, not rounded: a
// rounded value (8 for 7.5 at 192 dpi) would cut the outline short of the
// controls, which are placed with the exact one.
double TwipsPerPixel(int dpi);

// The wizard's outline (background 547 x 405) and the quit dialog's
// (350 x 358), shape by shape in the order they are joined.
std::vector<OutlineShape> SetupOutline(const OutlineScale& scale);
std::vector<OutlineShape> QuitOutline(const OutlineScale& scale);

}  // namespace tessaro
