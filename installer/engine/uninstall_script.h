#pragma once
// The uninstall script Uninstall.ini in the destination folder, which the
// uninstaller reads: the package's names at its head, a "LNK=" line for each
// shortcut (written by CreateShortcut), and at its tail the installer's
// timestamp and what to remove from the registry. Lines that cannot be
// written throw RuntimeError 75.
#include <string>

#include "installer_state.h"

namespace tessaro {

// Starts the script: lines 1, 2, 3 and 5 of the setup folder's Setup.dip,
// and the program group's folder in place of line 4.
void WriteUninstallHead(InstallerContext& cx, const std::string& setupFolder,
                        const std::string& script);

// Ends the script: the installer's timestamp and the registry keys and
// values the uninstaller removes.
void WriteUninstallTail(InstallerContext& cx, const std::string& script);

}  // namespace tessaro
