#pragma once
// Where Windows keeps things, and shortcut files.
#include <optional>
#include <string>

namespace tessaro {

struct ShortcutFile {
  std::string path;  // the .lnk file to write
  std::string target;
  std::string workingFolder;
  std::string arguments;
  std::string iconFile;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // A shell special folder (CSIDL code) without trailing "\"; nothing when
  // the shell cannot resolve it.
  virtual std::optional<std::string> SpecialFolder(int code) = 0;
  // As Windows reports them, without trailing "\".
  virtual std::string SystemFolder() = 0;
  virtual std::string WindowsFolder() = 0;
  // The 32-bit system folder of a 64-bit Windows (SysWOW64) when this
  // program runs there as a 32-bit program; empty everywhere else.
  virtual std::string Wow64SystemFolder() = 0;
  virtual bool WriteShortcut(const ShortcutFile& link) = 0;
};

}  // namespace tessaro
