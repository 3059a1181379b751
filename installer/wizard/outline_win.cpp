#include "wizard/outline_win.h"

#include <vector>

#include "win32/handles.h"
#include "win32/screen_scale_win.h"
#include "wizard/outline.h"

namespace tessaro {

namespace {

HRGN ShapeRegion(const OutlineShape& shape) {
  const auto& p = shape.points;
  switch (shape.kind) {
    case OutlineShape::Kind::RoundRect:
      return CreateRoundRectRgn(p[0].x, p[0].y, p[1].x, p[1].y, shape.ellipseWidth,
                                shape.ellipseHeight);
    case OutlineShape::Kind::Rect:
      return CreateRectRgn(p[0].x, p[0].y, p[1].x, p[1].y);
    default: {
      std::vector<POINT> points;
      for (const OutlinePoint& q : p) points.push_back({q.x, q.y});
      return CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE);
    }
  }
}

// The union of the shapes, joined in order.
HRGN Union(const std::vector<OutlineShape>& shapes) {
  HRGN result = ShapeRegion(shapes.front());
  for (size_t i = 1; i < shapes.size(); ++i) {
    GdiObject shape(ShapeRegion(shapes[i]));
    CombineRgn(result, result, static_cast<HRGN>(shape.Get()), RGN_OR);
  }
  return result;
}

// Design pixels to screen pixels, with the DPI the controls are placed with.
OutlineScale ScreenOutlineScale(float sx, float sy, short ox, short oy) {
  const double twipsPerPixel = ScreenTwipsPerPixel();
  return OutlineScale{sx, sy, ox, oy, twipsPerPixel, twipsPerPixel};
}

}  // namespace

HRGN BuildSetupRegion(float sx, float sy, short ox, short oy) {
  return Union(SetupOutline(ScreenOutlineScale(sx, sy, ox, oy)));
}

HRGN BuildQuitRegion(float sx, float sy, short ox, short oy) {
  return Union(QuitOutline(ScreenOutlineScale(sx, sy, ox, oy)));
}

}  // namespace tessaro
