// Swapping the floppy in drive A: of a Wine prefix.

#include <windows.h>
#include <winioctl.h>
// For the control code only: the request's layout is Wine's own, below.
#include <ddk/mountmgr.h>

#include <cstdint>
#include <cstring>

#include "robot.h"

namespace robot {

namespace {

// Wine 8's mount manager request. mingw's <ddk/mountmgr.h> has an older layout
// (no fs_type, serial, unix_dev, label_offset) that Wine refuses with
// ERROR_INVALID_PARAMETER.
struct WineUnixDrive {
  ULONG size;
  ULONG type;
  ULONG fs_type;
  DWORD serial;
  uint64_t unix_dev;
  WCHAR letter;
  USHORT mount_point_offset;  // bytes from the start, a NUL-terminated Unix path
  USHORT device_offset;
  USHORT label_offset;
};
static_assert(sizeof(WineUnixDrive) == 32);

}  // namespace

bool insert_floppy(const std::string& unix_folder, std::string& error) {
  HANDLE manager =
      CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) {
    error = "cannot open the mount manager, error " + std::to_string(GetLastError());
    return false;
  }
  std::string request(sizeof(WineUnixDrive) + unix_folder.size() + 1, '\0');
  WineUnixDrive drive{};
  drive.size = DWORD(request.size());
  drive.type = DRIVE_REMOVABLE;
  drive.letter = L'a';
  drive.mount_point_offset = sizeof drive;
  memcpy(request.data(), &drive, sizeof drive);
  memcpy(request.data() + sizeof drive, unix_folder.data(), unix_folder.size());
  DWORD returned = 0;
  BOOL ok = DeviceIoControl(manager, IOCTL_MOUNTMGR_DEFINE_UNIX_DRIVE, request.data(),
                            DWORD(request.size()), nullptr, 0, &returned, nullptr);
  if (!ok)
    error = "defining A: as " + unix_folder + " failed, error " + std::to_string(GetLastError());
  CloseHandle(manager);
  return ok;
}

}  // namespace robot
