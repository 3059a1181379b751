#include "services/drive_info.h"

#include <iterator>

#include "number_format.h"
#include "texts.h"

namespace tessaro {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr uint32_t kRemovable = 2;
constexpr uint32_t kFixed = 3;

// The first `count` characters (code points) of a UTF-8 text.
std::string FirstChars(const std::string& text, size_t count) {
  size_t end = 0;
  for (size_t chars = 0; end < text.size() && chars < count; ++chars) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

}  // namespace

std::string DriveTypeName(uint32_t code) {
  if (code >= 1 && code <= std::size(texts::kDriveTypeNames))
    return texts::kDriveTypeNames[code - 1];
  return texts::kDriveTypeError;
}

void CheckDriveSpace(FileSystem& files, Platform& platform, const std::string& drive,
                     int32_t required, DriveSpaceView& view) {
  const std::optional<DiskSpace> space = files.DiskSpaceOf(drive);
  if (!space) {
    // The later copy fails on its own if the drive is really unusable.
    view.SetWarning(kWarningTopHigh, texts::kDriveUnreadable);
    view.SetNextEnabled(true);
    view.HideReport();
    return;
  }

  const std::string separator = ThousandsSeparator(platform);
  const int64_t used = static_cast<int64_t>(space->total - space->totalFree);
  std::string report = drive + texts::kDriveInfoHeading + kCrLf + kCrLf;
  report += texts::kUsedSpace + FormatGrouped(used, separator) + texts::kBytes + kCrLf;
  report += texts::kFreeSpace + FormatGrouped(static_cast<int64_t>(space->totalFree), separator) +
            texts::kBytes + kCrLf;
  report +=
      texts::kRequiredSpace + FormatGroupedOrBlank(required, separator) + texts::kBytes + kCrLf;

  // An unreadable volume name or file system shows as empty.
  const VolumeFacts volume = files.VolumeInformation(drive).value_or(VolumeFacts{});
  report += texts::kFileSystemName + FirstChars(volume.fileSystem, 5) + kCrLf;
  report += texts::kVolumeName + FirstChars(volume.label, 11) + kCrLf;

  const uint32_t type = files.DriveType(drive);
  report += kCrLf;
  report += texts::kMediaType + DriveTypeName(type) + kCrLf;
  view.SetReport(report);

  if (type != kRemovable && type != kFixed) {
    view.SetWarning(kWarningTopHigh, texts::kWrongMedia);
    view.SetNextEnabled(false);
  }
  // Total free bytes, not the caller's share under quotas; equal is too few.
  // The space warning replaces the wrong-media one when both apply.
  const bool roomy = required < 0 || space->totalFree > static_cast<uint64_t>(required);
  if (!roomy) {
    view.SetWarning(kWarningTopLow, texts::kSpaceShort);
    view.SetNextEnabled(false);
  }
}

}  // namespace tessaro
