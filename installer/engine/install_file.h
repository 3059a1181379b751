#pragma once
// Installing one file of the package: whether an existing copy is replaced
// (by version for programs and libraries, by date for databases), the copy
// itself (copy_with_progress.h), the installer's attributes and times, and
// the registration by type.
#include <optional>
#include <string>

#include "engine/copy_with_progress.h"
#include "installer_state.h"

namespace tessaro {

// Installs `source` (relative to the setup folder, "files\" and the name) as
// `destination` (full path). An existing destination is kept when
// `mayReplace` is off; otherwise a program or library (EXE, DLL, OCX) with a
// lower version number, or a database (MDB) with an older last-write time, is
// not installed. Installed files lose their attributes, take the installer's
// times and are registered by type. True when installed or kept; false when
// the installed copy is newer, the copy failed, or the file was in use and
// is replaced at the next start. `existedBefore` tells whether anything was
// at the destination, a hidden file included; a folder there is never
// replaced and the file is not installed.
bool InstallFile(InstallerContext& cx, CopyView& view, const std::string& source,
                 const std::string& destination, bool mayReplace, bool& existedBefore);

// What the installation run already knows when it hands a file over, so that
// the disk is not asked again: whether anything is at the destination
// (EntryExists: a hidden file or a folder counts), a folder it has just made
// sure of (with its final "\"), and the installer's own file times, read
// once per run. `created` hears of a destination the copy creates, before
// its first byte (see CreatedFile).
struct KnownFacts {
  bool destinationPresent = false;
  std::string readyFolder;
  std::optional<FileTimes> installerTimes;
  CreatedFile created;
};

// InstallFile with those facts: the destination's folder is not checked when
// it is `readyFolder`, and a completed copy takes normal attributes and
// `installerTimes` through its still open handle.
bool InstallFile(InstallerContext& cx, CopyView& view, const std::string& source,
                 const std::string& destination, bool mayReplace, bool& existedBefore,
                 const KnownFacts& known);

// Puts one of the installer's own components (the shell component, the
// uninstaller, the runtime library) at `target`. A copy there with a higher
// version number is kept, by InstallFile's rule for programs and libraries;
// otherwise `source` is copied whole beside it and moved over it in one step,
// so a copy that fails, or a file there that a running program holds, leaves
// the one there in place. Nothing is shown: the caller looks afterwards
// whether the component is there.
void PlaceComponent(InstallerContext& cx, const std::string& source, const std::string& target);

}  // namespace tessaro
