#pragma once
// Setup.dip, the package description: eleven value lines, each a label of
// fixed length followed by the value, then groups of three lines, one per
// extra shortcut.
#include <string>

#include "installer_state.h"

namespace tessaro {

// Reads the description into the package values line by line, so a failure
// leaves the values read before it in place. programFiles is the Program
// Files folder (InstallPath becomes it, "\" and the folder of line 6).
// Throws RuntimeError 62 for a file that ends before line 11 or inside a
// group of three, and 6 for a package size beyond 32 bits. Groups after the
// tenth are ignored.
void ReadSetupDip(const std::string& text, const std::string& programFiles, PackageValues& pkg);

}  // namespace tessaro
