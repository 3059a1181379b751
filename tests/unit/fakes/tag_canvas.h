#pragma once
// A progress bar that only records the percentages it is given as its Tag;
// the drawing itself is checked with the progress bar's own tests.
#include <string>
#include <vector>

#include "progress.h"

namespace tessaro::fakes {

class TagCanvas : public ProgressCanvas {
 public:
  explicit TagCanvas(double width = 1500, double height = 300) : width_(width), height_(height) {}
  void RemoveBorder() override {}
  double InnerWidth() override { return width_; }
  double InnerHeight() override { return height_; }
  double TwipsPerPixel() override { return 15; }
  uint32_t BackColour() override { return colour::White; }
  void FillBox(const TwipBox&, uint32_t, Pen) override {}
  void Outline(const TwipBox&, uint32_t) override {}
  double TextWidth(const std::string&) override { return 300; }
  double TextHeight(const std::string&) override { return 200; }
  void PrintText(double, double, const std::string&) override {}
  void SetTag(const std::string& tag) override { tags.push_back(tag); }
  std::vector<std::string> tags;

 private:
  double width_, height_;
};

}  // namespace tessaro::fakes
