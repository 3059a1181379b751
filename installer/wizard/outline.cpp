#include "wizard/outline.h"

#include <cmath>

namespace tessaro {

namespace {

using Kind = OutlineShape::Kind;

// Rounds half to even, as the conversion of the design values does. The value
// is first snapped to a fine grid: with 1440 / 168 twips per pixel a true half
// comes out a hair above or below it.
int Round(double v) { return static_cast<int>(std::nearbyint(std::round(v * 65536) / 65536)); }

int X(const OutlineScale& s, int v) { return Round(v * double(s.sx) * 15 / s.tx + s.ox); }
int Y(const OutlineScale& s, int v) { return Round(v * double(s.sy) * 15 / s.ty + s.oy); }

OutlineShape Box(const OutlineScale& s, Kind kind, int l, int t, int r, int b, int ew = 0,
                 int eh = 0) {
  OutlineShape shape;
  shape.kind = kind;
  shape.points = {{X(s, l), Y(s, t)}, {X(s, r), Y(s, b)}};
  shape.ellipseWidth = Round(ew * double(s.sx) * 15 / s.tx);
  shape.ellipseHeight = Round(eh * double(s.sy) * 15 / s.ty);
  return shape;
}

OutlineShape Polygon(const OutlineScale& s, std::initializer_list<OutlinePoint> design) {
  OutlineShape shape;
  shape.kind = Kind::Polygon;
  for (OutlinePoint p : design) shape.points.push_back({X(s, p.x), Y(s, p.y)});
  return shape;
}

}  // namespace

double TwipsPerPixel(int dpi) { return dpi > 0 ? 1440.0 / dpi : 15; }

std::vector<OutlineShape> SetupOutline(const OutlineScale& s) {
  return {
      Box(s, Kind::RoundRect, 0, 4, 547, 343, 26, 12),
      Box(s, Kind::RoundRect, 0, 332, 212, 405, 24, 22),
      Box(s, Kind::Rect, 0, 300, 52, 356),
      Polygon(s, {{249, 326}, {199, 350}, {213, 311}, {248, 326}, {247, 326}}),
      Polygon(s,
              {{205, 350}, {223, 331}, {223, 331}, {187, 329}, {202, 347}, {205, 349}, {205, 352}}),
      Polygon(s,
              {{255, 321}, {197, 343}, {198, 343}, {272, 332}, {255, 321}, {254, 321}, {250, 321}}),
      Polygon(s, {{241, 332}, {192, 354}, {191, 354}, {206, 286}, {242, 334}}),
      Polygon(s, {{216, 340}, {200, 359}, {200, 359}, {198, 325}, {216, 339}}),
  };
}

std::vector<OutlineShape> QuitOutline(const OutlineScale& s) {
  return {Box(s, Kind::RoundRect, 0, 1, 350, 379, 30, 32)};
}

}  // namespace tessaro
