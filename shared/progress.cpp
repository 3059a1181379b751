#include "progress.h"

#include <cmath>

namespace tessaro {

int ProgressPercent(int32_t done, int32_t total) {
  if (total <= 0) return 0;
  if (done > total) done = total - 1;
  // In 64 bits: (total - done) * 100 passes 32 bits once the remainder
  // exceeds 21,474,836, and a far negative done gives a percentage below the
  // 16-bit range. Here the first is simply right and the second clamps to 0,
  // instead of an overflow error stopping the copy that draws the bar.
  // done <= total, so the remainder is not negative and the integer division
  // rounds it down.
  int64_t remaining = (static_cast<int64_t>(total) - done) * 100;
  int64_t percent = 100 - remaining / total;
  if (percent < 0) return 0;
  if (percent > 100) return 100;
  return static_cast<int>(percent);
}

std::string ProgressLabel(int percent) { return std::to_string(percent) + "%"; }

namespace {

// The bar for `percent`: cleared interior, centred label, the done part
// inverted, sunken border.
void Paint(ProgressCanvas& canvas, int percent) {
  std::string label = ProgressLabel(percent);
  // Rounded half to even, as the twips-per-pixel value of 9.6 (150 dpi) or
  // 7.5 (192 dpi) is rounded by the integer conversion of the classic runtime.
  double t = std::nearbyint(canvas.TwipsPerPixel());
  canvas.RemoveBorder();  // before measuring: the interior grows without it
  double width = canvas.InnerWidth();
  double height = canvas.InnerHeight();
  double w = std::nearbyint(width - t);
  double h = std::nearbyint(height - t);

  canvas.FillBox({t, t, w, h}, canvas.BackColour(), Pen::Copy);
  canvas.PrintText((width - canvas.TextWidth(label)) / 2, (height - canvas.TextHeight(label)) / 2,
                   label);
  // White under the XOR pen inverts every pixel, the text's included. (A
  // black XOR pass before it would leave the pixels as they are.)
  if (percent >= 1) canvas.FillBox({t, t, w / 100 * percent, h}, colour::White, Pen::Xor);

  // Sunken border: light from the bottom right, shadow at the top left.
  canvas.FillBox({w, t, w, h}, colour::White, Pen::Copy);
  canvas.FillBox({t, h, w, h}, colour::White, Pen::Copy);
  canvas.FillBox({0, 0, w, 0}, colour::DarkGrey, Pen::Copy);
  canvas.FillBox({0, 0, 0, h}, colour::DarkGrey, Pen::Copy);
  canvas.Outline({t, t, w - t, h - t}, colour::LightGrey);
}

}  // namespace

void DrawProgress(ProgressCanvas& canvas, UserInterface& ui, int32_t done, int32_t total) {
  int percent = ProgressPercent(done, total);
  canvas.SetTag(std::to_string(percent));
  // A copy calls twice per 32,000-byte block, and most calls find the bar
  // as it was: the pixels would come out the same.
  if (!canvas.StillShows(percent)) {
    canvas.BeginBar();
    Paint(canvas, percent);
    canvas.EndBar(percent);
  }
  ui.PumpMessagesPaced();
}

}  // namespace tessaro
