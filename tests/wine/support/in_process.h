// What the in-process Wine tests share: a user interface that records its
// boxes instead of showing them, the real Win32 classes bundled into one
// Services, and a progress canvas that records the tags the bars are given.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "progress.h"
#include "seams/services.h"
#include "seams/ui.h"
#include "win32/files_win.h"
#include "win32/platform_win.h"
#include "win32/processes_win.h"
#include "win32/registry_win.h"
#include "win32/shell_win.h"

namespace tessaro::wine {

// Boxes are recorded and answered, never shown: a real modal box would stop
// the run. Every box is answered OK, or a Yes/No box Yes with `answerYes`.
struct RecordingUi : UserInterface {
  MsgAnswer ShowMessage(const std::string& text, const std::string&, MsgIcon,
                        MsgButtons buttons) override {
    boxes.push_back(text);
    return answerYes && buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
  }
  void Beep() override {}
  void SetBusyPointer(bool) override {}
  void PumpMessages() override {}
  bool answerYes = false;
  std::vector<std::string> boxes;
};

// The installer's program file is taken to lie in the setup folder. The end
// of the program is an exception: a test must not end with it.
struct PlatformInSetupFolder : Win32Platform {
  std::string ProgramPath() override { return programPath; }
  [[noreturn]] void ExitProgram(int code) override {
    throw std::runtime_error("the program ended with " + std::to_string(code));
  }
  std::string programPath;
};

// The real Win32 classes behind one Services; the user interface, the shell
// and the platform can be replaced by a test's own.
template <class UiT = RecordingUi, class ShellT = Win32Shell, class PlatformT = Win32Platform>
struct Win32Machine {
  UiT ui;
  Win32Files files;
  Win32Registry registry;
  ShellT shell;
  Win32Processes processes;
  PlatformT platform;
  Services sys{ui, files, registry, shell, processes, platform};
};

// Records the percentages the bars are given; nothing is drawn.
struct TagCanvas : ProgressCanvas {
  TagCanvas() = default;
  TagCanvas(double width, double height, uint32_t back)
      : width_(width), height_(height), back_(back) {}
  void RemoveBorder() override {}
  double InnerWidth() override { return width_; }
  double InnerHeight() override { return height_; }
  double TwipsPerPixel() override { return 15; }
  uint32_t BackColour() override { return back_; }
  void FillBox(const TwipBox&, uint32_t, Pen) override {}
  void Outline(const TwipBox&, uint32_t) override {}
  double TextWidth(const std::string&) override { return 300; }
  double TextHeight(const std::string&) override { return 200; }
  void PrintText(double, double, const std::string&) override {}
  void SetTag(const std::string& tag) override { tags.push_back(tag); }
  std::vector<std::string> tags;

 private:
  double width_ = 1500;
  double height_ = 300;
  uint32_t back_ = 0;
};

}  // namespace tessaro::wine
