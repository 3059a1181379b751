#pragma once
// The picture box the progress bars are drawn in, and the canvas that draws
// into it. The box keeps what is drawn in a bitmap of its own, selected into
// a memory DC that lives as long as the box, and repaints from it, so a bar
// survives being covered and uncovered between two calls.
#include <windows.h>

#include <cstdint>
#include <string>

#include "progress.h"

namespace tessaro {

// A child window with a sunken edge (which the first DrawProgress removes),
// in the button-face colour with button-text writing in the GUI font. Sizes
// are in pixels. Null when the window cannot be made.
HWND CreateProgressBox(HWND parent, int id, int x, int y, int width, int height);
// Back and fore colours (0x00BBGGRR) and the font; the font stays the caller's
// and must outlive the box (null: the GUI font). Clears what was drawn.
void SetProgressBoxLook(HWND box, uint32_t back, uint32_t fore, HFONT font);
// The box's Tag: the percentage last drawn, empty before the first drawing.
std::string ProgressBoxTag(HWND box);
// A finished bar goes on the screen at most once per frame (FramePacer); this
// shows at once one still held back, so that it shows while the program
// stops letting messages through.
void ShowHeldBackBar(HWND box);

// Draws into a box made by CreateProgressBox; with any other window it draws
// nothing and measures zero.
class Win32ProgressCanvas : public ProgressCanvas {
 public:
  explicit Win32ProgressCanvas(HWND box) : box_(box) {}
  void RemoveBorder() override;
  double InnerWidth() override;
  double InnerHeight() override;
  double TwipsPerPixel() override;
  uint32_t BackColour() override;
  void FillBox(const TwipBox& box, uint32_t colour, Pen pen) override;
  void Outline(const TwipBox& box, uint32_t colour) override;
  double TextWidth(const std::string& text) override;
  double TextHeight(const std::string& text) override;
  void PrintText(double x, double y, const std::string& text) override;
  void SetTag(const std::string& tag) override;
  // True while the bitmap holds the bar for `percent` at the box's size and
  // the box has no border of its own.
  bool StillShows(int percent) override;
  // Between the two, primitives only draw into the bitmap; EndBar puts the
  // bar on the screen once, paced. Outside them every primitive invalidates
  // what it drew.
  void BeginBar() override;
  void EndBar(int percent) override;

 private:
  HWND box_;
};

}  // namespace tessaro
