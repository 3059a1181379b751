// What the in-process Wine tests share: a user interface that records its
// boxes instead of showing them, and the real Win32 classes bundled into one
// Services.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

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

}  // namespace tessaro::wine
