#pragma once
// Program groups and shortcuts. Each shortcut made is first recorded as a
// "LNK=" line in the destination's Uninstall.ini, for the uninstaller.
#include <cstdint>
#include <string>

#include "installer_state.h"

namespace tessaro {

// Creates one folder level; every failure (it exists already, no parent) is
// ignored.
void MakeFolderQuiet(FileSystem& files, const std::string& path);

// Makes the shortcut "name.Lnk" in the special folder of the code: for code 0
// (the desktop) directly, otherwise in the program group below it (created
// when missing; an empty group leaves a doubled "\" in the path, which Windows
// accepts). The working folder is InstallPath. Throws RuntimeError when the
// special folder is unknown or the shortcut cannot be written (err::Automation,
// as the shell component would), or the uninstall script cannot be appended to
// (75).
void CreateShortcut(InstallerContext& cx, int32_t code, const std::string& group,
                    const std::string& target, const std::string& name,
                    const std::string& arguments, const std::string& icon);

}  // namespace tessaro
