#pragma once
// Setup.dip, the package description: eleven value lines, each a label of
// fixed length followed by the value, then groups of three lines, one per
// extra shortcut.
#include <cstddef>
#include <string>

#include "installer_state.h"

namespace tessaro {

// Where each value starts (1-based): lines 1 to 11, then every line of the
// shortcut groups. The label before it is free text of exactly that length
// less one.
inline constexpr size_t kSetupDipValueStart[] = {6, 18, 14, 15, 9, 14, 12, 10, 10, 10, 10};
inline constexpr size_t kSetupDipShortcutStart = 8;
inline constexpr size_t kSetupDipMaxShortcuts = 10;

// Reads the description into the package values line by line, so a failure
// leaves the values read before it in place. programFiles is the Program
// Files folder (InstallPath becomes it, "\" and the folder of line 6).
// Throws RuntimeError 62 for a file that ends before line 11 or inside a
// group of three, and 6 for a package size beyond 32 bits. Groups after the
// tenth are ignored.
void ReadSetupDip(const std::string& text, const std::string& programFiles, PackageValues& pkg);

}  // namespace tessaro
