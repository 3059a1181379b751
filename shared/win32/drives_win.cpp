// Drive facts of Win32Files: free space, volume name and file system, drive type.
#include <windows.h>

#include "files_win.h"
#include "wide.h"

namespace tessaro {

namespace {

// A drive without a medium (an empty floppy or card reader) would otherwise
// make Windows ask "no disk in the drive" in a box of its own; the caller
// wants the failure as a value.
class NoCriticalErrorBoxes {
 public:
  NoCriticalErrorBoxes() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
  ~NoCriticalErrorBoxes() { SetThreadErrorMode(previous_, nullptr); }
  NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
  NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

 private:
  DWORD previous_ = 0;
};

// Text of a buffer Windows filled, up to its first NUL.
std::string UpToNul(const wchar_t* buffer, size_t size) {
  return Narrow(buffer, wcsnlen(buffer, size));
}

}  // namespace

std::optional<DiskSpace> Win32Files::DiskSpaceOf(const std::string& root) {
  NoCriticalErrorBoxes quiet;
  ULARGE_INTEGER toCaller{}, total{}, totalFree{};
  if (!GetDiskFreeSpaceExW(Widen(root).c_str(), &toCaller, &total, &totalFree)) return std::nullopt;
  return DiskSpace{total.QuadPart, totalFree.QuadPart, toCaller.QuadPart};
}

std::optional<VolumeFacts> Win32Files::VolumeInformation(const std::string& root) {
  NoCriticalErrorBoxes quiet;
  // 127 characters and the NUL: labels hold at most 32, file-system names less.
  wchar_t label[128] = {};
  wchar_t fileSystem[128] = {};
  if (!GetVolumeInformationW(Widen(root).c_str(), label, 128, nullptr, nullptr, nullptr, fileSystem,
                             128))
    return std::nullopt;
  return VolumeFacts{UpToNul(label, 128), UpToNul(fileSystem, 128)};
}

uint32_t Win32Files::DriveType(const std::string& root) {
  return GetDriveTypeW(Widen(root).c_str());
}

}  // namespace tessaro
