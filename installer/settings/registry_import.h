#pragma once
// The package's registry settings: the template Settings.lrk, a registry
// import file with placeholder tokens, becomes Settings.reg and is imported
// by the system's registry editor.
#include "installer_state.h"

namespace tessaro {

// The template is read from the current folder (the setup folder). Each of
// its lines is expanded in registry mode and written as one line of
// Settings.reg (ANSI, CR LF), in a new folder that only administrators can
// open; the registry editor ("Regedit.exe /S" and the file's full path)
// imports it from there, and the call returns when the editor has ended,
// with the file and its folder removed. The editor's outcome is not
// examined. Throws RuntimeError when the template cannot be read or
// Settings.reg cannot be written.
void ImportRegistrySettings(InstallerContext& cx);

}  // namespace tessaro
