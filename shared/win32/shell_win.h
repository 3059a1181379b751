#pragma once
// The shell seam: special folders through shell32, the Windows folders
// through kernel32, and shortcut files through the shell's own IShellLinkW.
#include "seams/shell.h"

namespace tessaro {

class Win32Shell : public Shell {
 public:
  Win32Shell() = default;
  // Leaves COM as it found it on this thread.
  ~Win32Shell() override;
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;

  std::optional<std::string> SpecialFolder(int code) override;
  std::string SystemFolder() override;
  std::string WindowsFolder() override;
  std::string Wow64SystemFolder() override;
  // Must be called on the thread that made the object (COM apartment).
  bool WriteShortcut(const ShortcutFile& link) override;

 private:
  bool comStarted_ = false;  // CoInitializeEx succeeded and wants its CoUninitialize
  bool comTried_ = false;
};

}  // namespace tessaro
