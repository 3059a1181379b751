#pragma once
// The shortcuts a package gets at the end of its installation.
#include <string>

#include "installer_state.h"

namespace tessaro {

// In this order, in the program group (and the first two on the desktop too
// when `desktop`): the main program, the database through the Access
// runtime, the package's extra shortcuts, and the uninstaller from
// `systemFolder`. A shortcut that cannot be made is left out, noted, and the
// user is told once that some are missing.
void CreateShortcuts(InstallerContext& cx, bool desktop, const std::string& systemFolder);

}  // namespace tessaro
