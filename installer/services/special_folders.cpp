#include "services/special_folders.h"

#include "path_split.h"
#include "settings/registry_access.h"

namespace tessaro {

namespace {

constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";

}  // namespace

std::string GetSpecialFolder(Services& sys, int32_t code) {
  // The registry gives the folder of the running platform (on 64-bit
  // Windows the 32-bit Program Files), which is where our programs belong.
  if (code == csidl::ProgramFiles)
    return RegistryText(sys.registry, "LOCAL_MACHINE", kCurrentVersionKey, "ProgramFilesDir") +
           "\\";
  if (code == csidl::CommonFiles)
    return RegistryText(sys.registry, "LOCAL_MACHINE", kCurrentVersionKey, "CommonFilesDir") + "\\";
  std::optional<std::string> folder = sys.shell.SpecialFolder(code);
  if (!folder) return {};
  return WithoutFinalBackslash(*folder) + "\\";
}

std::string GetSystemFolder(Services& sys) {
  return sys.platform.LowerCase(WithoutFinalBackslash(sys.shell.SystemFolder()));
}

std::string GetWindowsFolder(Services& sys) {
  return sys.platform.LowerCase(WithoutFinalBackslash(sys.shell.WindowsFolder()));
}

std::string ProgramGroupName(Services& sys, int index) {
  std::optional<std::string> programs = sys.shell.SpecialFolder(csidl::Programs);
  if (!programs || index < 1) return {};
  int count = 0;
  for (const DirEntry& entry : sys.files.List(*programs + "\\*.*")) {
    if (entry.attributes & (attr::Hidden | attr::System)) continue;
    if (entry.name.empty() || entry.name.front() == '.') continue;
    if (!entry.IsFolder()) continue;
    if (++count == index) return entry.name;
  }
  return {};
}

}  // namespace tessaro
