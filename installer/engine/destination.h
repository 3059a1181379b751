#pragma once
// The destination folder: the wizard's check of the folder the user typed or
// chose, and the folder helpers the installation run uses to make target
// folders on the fly. Boxes are titled by BoxTitle.
#include <string>

#include "installer_state.h"

namespace tessaro {

// Normalises `path` in place (blanks around it and final "\" characters
// removed), then checks it: a drive and its root, no forbidden or control
// characters, no network path, no folder name that Windows would take for
// another (".", "..", a final "." or blank, a device name such as CON). An existing folder is
// accepted, after a question when it already holds files; a missing one is created when the user
// agrees. Every rejection has told the user why. True when the path is rejected.
bool ValidateDestination(InstallerContext& cx, std::string& path);

// Checks the program group typed or chosen: a folder name, or a nested one,
// below the Programs folder. One with a drive, one from a root, one with a
// "." or ".." part (or only dots) or a device name would put the shortcuts
// elsewhere, or nowhere: refused, after telling the user. The empty group is
// accepted. True when the group is rejected.
bool ValidateProgramGroup(InstallerContext& cx, const std::string& group);

// True when the folder exists at the end. A missing folder is created when
// `create` is set (see CreateFolderPath for `verify`). A failing test counts
// as a missing folder.
bool EnsureFolder(InstallerContext& cx, const std::string& path, bool create, bool verify);

// True when the path (with or without its final "\") names an existing
// folder, a drive root included: what a listing of it finding any entry
// tells, asked with one attribute query.
bool FolderExists(FileSystem& files, const std::string& path);

// Creates the folder one level at a time from the drive down ("C:\", "C:\A\",
// "C:\A\B\"), ignoring every failure, a level that exists already included.
// Without `verify` it returns true whatever happened; with it, true when the
// folder now exists, otherwise it beeps, reports "Impossibile creare il
// percorso." and returns false.
bool CreateFolderPath(InstallerContext& cx, const std::string& path, bool verify);

}  // namespace tessaro
