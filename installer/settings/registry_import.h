#pragma once
// The package's registry settings: the template Settings.lrk, a registry
// import file with placeholder tokens, becomes Settings.reg and is imported
// by the system's registry editor.
#include "installer_state.h"

namespace tessaro {

// Both files are in the current folder (the setup folder). Each template line
// is expanded in registry mode and written as one line of Settings.reg (ANSI,
// CR LF), which replaces an older one; then "Regedit.exe /S Settings.reg"
// runs, and the call returns when the editor has ended. The editor's outcome
// is not examined. Throws RuntimeError when the template cannot be read or
// Settings.reg cannot be written.
void ImportRegistrySettings(InstallerContext& cx);

}  // namespace tessaro
