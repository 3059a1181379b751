#pragma once
// A stand-in for the backup program's main window that records what the
// logic did to it.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "split_window.h"

namespace tessaro::kvb::testing {

// Only the percentages a bar stores as its Tag matter here; the drawing is
// checked with the progress bar itself.
class TagCanvas : public ProgressCanvas {
 public:
  void RemoveBorder() override {}
  double InnerWidth() override { return 3400; }
  double InnerHeight() override { return 250; }
  double TwipsPerPixel() override { return 15; }
  uint32_t BackColour() override { return colour::White; }
  void FillBox(const TwipBox&, uint32_t, Pen) override {}
  void Outline(const TwipBox&, uint32_t) override {}
  double TextWidth(const std::string&) override { return 300; }
  double TextHeight(const std::string&) override { return 200; }
  void PrintText(double, double, const std::string&) override {}
  void SetTag(const std::string& tag) override { tags.push_back(tag); }
  std::vector<std::string> tags;
};

struct RecordingView : SplitView {
  void MoveTo(int left, int top) override { position = {left, top}; }
  bool SetTopMost(bool on) override {
    topMost = on;
    return true;
  }
  void SetTimerEnabled(bool enabled) override { timer = enabled; }
  bool TimerEnabled() override { return timer; }
  void SetButtonEnabled(SplitButton button, bool enabled) override { buttons[button] = enabled; }
  void SetCloseCaption(const std::string& caption) override { closeCaption = caption; }
  void ShowAnimFrame(int frame) override { frames.push_back(frame); }
  ProgressCanvas& StatusBar(int index) override { return bars[index]; }
  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  std::vector<TopWindow> TopWindows() override { return desktop; }

  std::pair<int, int> position{-1, -1};
  bool topMost = false;
  bool timer = false;
  std::map<SplitButton, bool> buttons{{SplitButton::MakeBackup, true},
                                      {SplitButton::RestoreBackup, true}};
  std::string closeCaption = "&Chiudi";
  std::vector<int> frames;
  TagCanvas bars[2];
  std::vector<std::string> statusTexts;
  std::vector<TopWindow> desktop;
};

}  // namespace tessaro::kvb::testing
