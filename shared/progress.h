#pragma once
// The percentage bar both programs draw by hand into a picture box: a cleared
// interior, the percentage centred, the completed part inverted (the text
// over it included) and a sunken border. The drawing goes through a small
// canvas so that the same steps run on a real window and in the unit tests.
#include <cstdint>
#include <string>

#include "seams/ui.h"

namespace tessaro {

// Windows RGB values (0x00BBGGRR).
namespace colour {
constexpr uint32_t Black = 0x000000;
constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t DarkGrey = 0x808080;
constexpr uint32_t LightGrey = 0xC0C0C0;
}  // namespace colour

// Copy draws the colour; Xor combines colour and screen by exclusive or.
enum class Pen { Copy, Xor };

// A box from one corner to the other in twips; both corner pixels belong to
// it, so a box from (x, 0) to (x, 100) is a line one pixel wide.
struct TwipBox {
  double x1, y1, x2, y2;
};

// The picture box as the bar sees it. Positions and sizes are in twips.
class ProgressCanvas {
 public:
  virtual ~ProgressCanvas() = default;
  // Switches off the box's own border; nothing when it has none.
  virtual void RemoveBorder() = 0;
  // The drawable interior, after any border.
  virtual double InnerWidth() = 0;
  virtual double InnerHeight() = 0;
  // Width of one screen pixel.
  virtual double TwipsPerPixel() = 0;
  virtual uint32_t BackColour() = 0;
  virtual void FillBox(const TwipBox& box, uint32_t colour, Pen pen) = 0;
  // An unfilled rectangle, one pixel wide, drawn with the copy pen.
  virtual void Outline(const TwipBox& box, uint32_t colour) = 0;
  virtual double TextWidth(const std::string& text) = 0;
  virtual double TextHeight(const std::string& text) = 0;
  // Prints with the box's font and fore colour, the background left as it is.
  virtual void PrintText(double x, double y, const std::string& text) = 0;
  // The box's Tag: the percentage last drawn, as decimal text.
  virtual void SetTag(const std::string& tag) = 0;

  // Whether the box still shows the bar the last drawing made for `percent`,
  // so that drawing it again would change no pixel. A canvas that keeps no
  // record answers false and is drawn on every call.
  virtual bool StillShows(int /*percent*/) { return false; }
  // Around the drawing of one whole bar: a canvas may keep its drawing
  // surface from one to the other and show the finished bar, for `percent`,
  // once at the end instead of after every primitive.
  virtual void BeginBar() {}
  virtual void EndBar(int /*percent*/) {}
};

// The whole percentage of done out of total, 0 to 100, rounded up: the part
// still to do is rounded down. A done value above total counts as total - 1,
// so an overshooting counter shows 99%, never 100%. A total of 0 or less has
// no meaningful share and shows 0%.
int ProgressPercent(int32_t done, int32_t total);

// "42%".
std::string ProgressLabel(int percent);

// Sets the box's Tag to the percentage of done out of total, repaints the
// whole bar unless the canvas still shows that very bar, and then lets
// pending window messages run once, paced to a millisecond (this is where a
// cancel click gets its chance during a copy).
void DrawProgress(ProgressCanvas& canvas, UserInterface& ui, int32_t done, int32_t total);

}  // namespace tessaro
