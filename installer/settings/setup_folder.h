#pragma once
// The setup folder, the end of setup (the way out of a run), and the small file
// helpers the rest of the installer shares. None of them shows an error.
#include <string>

#include "installer_state.h"

namespace tessaro {

// The package files that lie in the setup folder, in the order the start-up
// checks them.
inline constexpr const char* kPackageFiles[] = {"Licence.txt",  "Welcome.txt", "unplant.dll",
                                                "kv_shell.dll", "Settings.lrk", "Setup.dip",
                                                "Setup.ftc",    "MsVBvm50.dll"};
// The installer's scratch files in the setup folder, which the end of setup
// deletes: the rollback list a run writes there, and Settings.reg, which an
// earlier version of the installer wrote there too.
inline constexpr const char* kScratchFiles[] = {"Settings.reg", "Uninstall.Tmp"};

// The installer's folder without a trailing "\" ("D:" at a drive root).
std::string SetupFolder(Platform& platform);
// True for a file that is neither a folder nor hidden nor system: the
// package check's and the destination question's idea of a file.
bool FileIsPresent(FileSystem& files, const std::string& path);
// True when anything is at the path: a file whatever its attributes, a
// folder, a link. What the decisions of an installation go by, so that a
// hidden file of the user's is never emptied, replaced unchecked or taken
// for one the run made. A path that cannot be asked about (access denied)
// counts as taken.
bool EntryExists(FileSystem& files, const std::string& path);
// Clears the attributes and deletes; true when the file was there. Nothing
// is deleted through a junction or symbolic link, and a link goes as itself.
bool DeleteFileIfPresent(FileSystem& files, const std::string& path);
// Removes an empty folder, or a junction as itself; errors are ignored.
void RemoveFolderQuiet(FileSystem& files, const std::string& path);

// Empties the setup folder of the package, restarts Windows when a file was
// deferred to the next start, and ends the program with the run's exit code
// (ExitCodeOf, or 1641 when Windows restarts; see exit_codes.h). Never returns.
[[noreturn]] void EndOfSetup(InstallerContext& cx);

}  // namespace tessaro
