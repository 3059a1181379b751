#pragma once
// The destination drive's report on the wizard's drive page, and the check
// that the drive is of a usable kind and roomy enough.
#include <cstdint>
#include <string>

#include "seams/files.h"
#include "seams/platform.h"

namespace tessaro {

// What CheckDriveSpace sets on the drive page of FrmSetup.
class DriveSpaceView {
 public:
  virtual ~DriveSpaceView() = default;
  // Text of the report box the caller chose (the wizard's Welcome).
  virtual void SetReport(const std::string& text) = 0;
  // Hides the page's Welcome box.
  virtual void HideReport() = 0;
  // The warning box ErroreSpazio: its top (twips) and its text.
  virtual void SetWarning(int topTwips, const std::string& text) = 0;
  virtual void SetNextEnabled(bool enabled) = 0;  // NextStep
};

// Where ErroreSpazio goes: under the short report of an unusable drive, or
// at the foot of the page when the space is short.
inline constexpr int kWarningTopHigh = 790;
inline constexpr int kWarningTopLow = 2500;

// The name shown for a GetDriveType code.
std::string DriveTypeName(uint32_t code);

// Writes the report of the drive whose root is given ("C:\") and judges it:
// a drive that is neither removable nor fixed, or whose free bytes do not
// exceed `required`, gets a warning and disables NextStep; a drive that
// cannot be read gets a warning, hides the report and lets the user go on.
// A usable drive leaves NextStep as the caller had it.
void CheckDriveSpace(FileSystem& files, Platform& platform, const std::string& drive,
                     int32_t required, DriveSpaceView& view);

}  // namespace tessaro
