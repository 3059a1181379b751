#pragma once
// A stand-in for the backup program's main window that records what the
// logic did to it.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fakes/tag_canvas.h"
#include "split_window.h"

namespace tessaro::kvb::testing {

// The bars of the window, as wide as designed.
struct TagCanvas : fakes::TagCanvas {
  TagCanvas() : fakes::TagCanvas(3400, 250) {}
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
