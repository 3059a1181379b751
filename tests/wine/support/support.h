// What the Wine tests share: where the build outputs are, scratch setup
// folders on drive C: of the prefix, and small file and registry readers.
// Paths are Windows paths in UTF-8.
#pragma once

#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "robot.h"

namespace wine_test {

// The build folder (TESSARO_BUILD_WIN, set by run-wine-test.sh).
std::string build_dir();
// `relative` (backslashes) inside the build folder.
std::string build_path(const std::string& relative);
// Stand-ins are built into build\standins.
std::string standin(const std::string& file);
// The programs under test; empty when not built (TESSARO_INSTALLER_EXE, TESSARO_KVB_EXE).
std::string installer_exe();
std::string kvb_exe();
// The rig's own programs.
std::string robot_exe();
std::string boxdemo_exe();

// An empty folder C:\tessaro-tests\<name>, made afresh; returns its path.
std::string scratch_folder(const std::string& name);
// A fresh setup folder named for the running test, C:\tessaro-tests\<Suite>.<Test>,
// holding a copy of the staged package (build\package) and, with
// `with_installer`, Installer.exe (the installer runs from its package folder).
// A failure is reported to the running test and leaves the folder incomplete.
std::string make_setup_folder(bool with_installer = true);

// The files below `folder`, as relative paths, sorted; folders themselves are
// not listed, their files are ("files\Data.mdb").
std::vector<std::string> list_files(const std::string& folder);
bool exists(const std::string& path);
bool copy_tree(const std::string& from, const std::string& to);
// Removes a folder with everything in it; a link in it is removed as a
// link, never entered.
bool remove_tree(const std::string& path);
// A link at `link` to the folder `target`, as any user can make one (on
// Windows, "mklink /J"). Wine 8 makes no junctions (its mklink /J fails and
// CreateSymbolicLink does nothing), so the link is a Unix symbolic link,
// which Wine lists as a folder with the reparse-point attribute. True when
// `link` shows that attribute.
bool make_folder_link(const std::string& link, const std::string& target);
// Removes such a link, never what it leads to; true when it is gone.
bool remove_folder_link(const std::string& link);
// A file's bytes; nullopt when it cannot be read.
std::optional<std::string> read_file(const std::string& path);
// A text file in the ANSI code page, as UTF-8.
std::optional<std::string> read_ansi_text(const std::string& path);

// What a shortcut file holds; nothing when it cannot be read. COM must be
// started on the calling thread.
struct LinkInfo {
  std::string target, arguments, workingFolder, icon;
  int iconIndex = -1;
};
std::optional<LinkInfo> ReadLink(const std::string& path);

std::optional<DWORD> reg_dword(HKEY root, const std::string& key, const std::string& value);
std::optional<std::string> reg_string(HKEY root, const std::string& key, const std::string& value);

}  // namespace wine_test

namespace robot {

// Names instead of bytes in googletest's failure messages.
inline void PrintTo(Icon icon, std::ostream* os) { *os << to_string(icon); }
inline void PrintTo(Recording::End end, std::ostream* os) { *os << to_string(end); }

}  // namespace robot
