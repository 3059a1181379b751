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
// True for a file that is neither a folder nor hidden nor system.
bool FileIsPresent(FileSystem& files, const std::string& path);
// Clears the attributes and deletes; true when the file was there. Nothing
// is deleted through a junction or symbolic link, and a link goes as itself.
bool DeleteFileIfPresent(FileSystem& files, const std::string& path);
void CopyFileQuiet(FileSystem& files, const std::string& from, const std::string& to);
// Removes an empty folder, or a junction as itself; errors are ignored.
void RemoveFolderQuiet(FileSystem& files, const std::string& path);

// Empties the setup folder of the package, restarts Windows when a file was
// deferred to the next start, and ends the program with the run's exit code
// (ExitCodeOf, or 1641 when Windows restarts; see exit_codes.h). Never returns.
[[noreturn]] void EndOfSetup(InstallerContext& cx);

}  // namespace tessaro
