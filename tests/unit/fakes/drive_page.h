#pragma once
// The wizard's drive page as CheckDriveSpace sees it, recording what it set.
#include <optional>
#include <string>

#include "services/drive_info.h"

namespace tessaro::fakes {

struct DrivePage : DriveSpaceView {
  void SetReport(const std::string& text) override { report = text; }
  void HideReport() override { reportHidden = true; }
  void SetWarning(int top, const std::string& text) override {
    warningTop = top;
    warning = text;
  }
  void SetNextEnabled(bool enabled) override { nextEnabled = enabled; }
  std::optional<std::string> report;
  bool reportHidden = false;
  int warningTop = -1;
  std::optional<std::string> warning;
  std::optional<bool> nextEnabled;  // untouched when empty
};

}  // namespace tessaro::fakes
