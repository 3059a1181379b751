#include "wizard/wizard_picture_win.h"

#include <algorithm>
#include <vector>

#include "win32/handles.h"
#include "win32/screen_scale_win.h"

namespace tessaro {

namespace {

constexpr COLORREF kInk = RGB(12, 36, 70);
constexpr COLORREF kPaper = RGB(248, 250, 253);
constexpr COLORREF kRule = RGB(160, 190, 222);
constexpr COLORREF kCover = RGB(30, 74, 128);
constexpr COLORREF kRibbon = RGB(250, 210, 60);
constexpr COLORREF kShield = RGB(40, 110, 200);
constexpr COLORREF kShieldRim = RGB(250, 210, 60);

struct Frame {
  int left, top, width, height;
  // A point at fractions of the frame.
  POINT At(double fx, double fy) const {
    return {left + static_cast<int>(fx * width + 0.5), top + static_cast<int>(fy * height + 0.5)};
  }
};

void FillPolygon(HDC dc, const std::vector<POINT>& points, COLORREF fill, COLORREF edge, int pen) {
  GdiObject brush(CreateSolidBrush(fill));
  GdiObject line(CreatePen(PS_SOLID, pen, edge));
  SelectedObject useBrush(dc, brush.Get());
  SelectedObject usePen(dc, line.Get());
  Polygon(dc, points.data(), static_cast<int>(points.size()));
}

void Line(HDC dc, POINT a, POINT b, COLORREF colour, int width) {
  GdiObject pen(CreatePen(PS_SOLID, width, colour));
  SelectedObject use(dc, pen.Get());
  MoveToEx(dc, a.x, a.y, nullptr);
  LineTo(dc, b.x, b.y);
}

// An open ledger: two pages rising from the spine, ruled, the right one with
// columns of figures, a ribbon hanging from the top.
void DrawLedger(HDC dc, const Frame& f, int pen) {
  const double sag = 0.08;  // the spine lies lower than the outer edges
  FillPolygon(dc,
              {f.At(0.0, 0.06), f.At(0.5, 0.06 + sag), f.At(1.0, 0.06), f.At(1.0, 1.0),
               f.At(0.5, 1.0), f.At(0.0, 1.0)},
              kCover, kInk, pen);
  for (int side = 0; side < 2; ++side) {
    const double outer = side == 0 ? 0.03 : 0.97;
    FillPolygon(dc, {f.At(outer, 0.0), f.At(0.5, sag), f.At(0.5, 0.94), f.At(outer, 0.90)}, kPaper,
                kInk, pen);
    for (int row = 1; row <= 7; ++row) {
      const double y = 0.1 * row + 0.04;
      Line(dc, f.At(outer + (side == 0 ? 0.04 : -0.04), y),
           f.At(0.5 + (side == 0 ? -0.03 : 0.03), y + sag * 0.9), kRule, 1);
    }
  }
  // Figures on the right page, and the words they stand for on the left.
  for (int row = 1; row <= 6; ++row) {
    const double y = 0.1 * row + 0.04 + sag * 0.45;
    const double words = 0.12 + 0.04 * (row % 3);
    Line(dc, f.At(0.09, y - 0.035), f.At(0.09 + words, y - 0.035 + sag * 0.25), kInk, pen);
    Line(dc, f.At(0.74 - 0.03 * (row % 2), y - 0.035 + sag * 0.25), f.At(0.90, y - 0.035), kInk,
         pen);
  }
  Line(dc, f.At(0.5, sag), f.At(0.5, 0.94), kInk, pen);
  FillPolygon(dc,
              {f.At(0.56, sag - 0.02), f.At(0.62, sag - 0.04), f.At(0.62, 1.08), f.At(0.59, 1.03),
               f.At(0.56, 1.08)},
              kRibbon, kInk, 1);
}

// A shield with a tick: the data kept safe.
void DrawShield(HDC dc, const Frame& f, int pen) {
  std::vector<POINT> outline = {f.At(0.5, 0.0), f.At(0.78, 0.08), f.At(1.0, 0.1)};
  // The lower half curves in to the point at the bottom.
  for (int i = 1; i <= 6; ++i) {
    double t = i / 6.0;
    outline.push_back(f.At(1.0 - 0.5 * t * t, 0.1 + 0.5 * t + 0.4 * t * t));
  }
  for (int i = 5; i >= 1; --i) {
    double t = i / 6.0;
    outline.push_back(f.At(0.5 * t * t, 0.1 + 0.5 * t + 0.4 * t * t));
  }
  outline.push_back(f.At(0.0, 0.1));
  outline.push_back(f.At(0.22, 0.08));
  FillPolygon(dc, outline, kShield, kShieldRim, std::max(2, pen * 2));
  Line(dc, f.At(0.26, 0.5), f.At(0.44, 0.68), RGB(255, 255, 255), std::max(3, pen * 3));
  Line(dc, f.At(0.44, 0.68), f.At(0.76, 0.3), RGB(255, 255, 255), std::max(3, pen * 3));
}

}  // namespace

void DrawWizardPicture(HDC dc, const RECT& area, const std::wstring& name, FontBook& fonts) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const int pen = std::max(1, Px(15));
  int top = area.top;
  if (!name.empty()) {
    // The name on one line if a smaller font allows, else on two.
    FontSpec spec{L"Arial", FW_BOLD, Px(330)};
    TextFit fit = FitText(fonts, spec, name, width, height / 4, true);
    bool oneLine = fit.fits;
    if (!oneLine) fit = FitText(fonts, spec, name, width, height / 3, false);
    RECT text{area.left, top, area.right, top + fit.height};
    SelectedObject font(dc, fit.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, name.c_str(), -1, &text,
              DT_CENTER | DT_NOPREFIX | (oneLine ? DT_SINGLELINE : DT_WORDBREAK));
    top += fit.height + Px(120);
  }
  const int room = area.bottom - top;
  const int bookWidth = std::min(width * 8 / 10, room - Px(120));
  const Frame book{area.left + (width - bookWidth) / 2, top + Px(60), bookWidth,
                   bookWidth * 6 / 10};
  DrawLedger(dc, book, pen);
  const int shieldWidth = bookWidth * 42 / 100;
  const Frame shield{book.left + book.width - shieldWidth * 4 / 5,
                     book.top + book.height - shieldWidth / 2, shieldWidth, shieldWidth * 6 / 5};
  DrawShield(dc, shield, pen);
}

}  // namespace tessaro
