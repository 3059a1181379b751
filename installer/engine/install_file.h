#pragma once
// Installing one file of the package: whether an existing copy is replaced
// (by version for programs and libraries, by date for databases), the copy in
// blocks that drives the copy page's labels and bars, and the replacement of
// a file in use at the next start of Windows.
#include <cstddef>
#include <optional>
#include <string>

#include "installer_state.h"
#include "progress.h"

namespace tessaro {

// The copy page as the copy sees it: status label 0 names the file being
// copied and label 1 the bytes so far; bar 0 is the file, bar 1 the package.
class CopyView {
 public:
  virtual ~CopyView() = default;
  virtual void SetStatusText(int index, const std::string& text) = 0;
  virtual ProgressCanvas& Bar(int index) = 0;
};

inline constexpr size_t kCopyBlockSize = 32000;

// Installs `source` (relative to the setup folder, "files\" and the name) as
// `destination` (full path). An existing destination is kept when
// `mayReplace` is off; otherwise a program or library (EXE, DLL, OCX) with a
// lower version number, or a database (MDB) with an older last-write time, is
// not installed. Installed files lose their attributes, take the installer's
// times and are registered by type. True when installed or kept; false when
// the installed copy is newer, the copy failed, or the file was in use and
// is replaced at the next start. `existedBefore` tells whether a file was at
// the destination.
bool InstallFile(InstallerContext& cx, CopyView& view, const std::string& source,
                 const std::string& destination, bool mayReplace, bool& existedBefore);

// What the installation run already knows when it hands a file over, so that
// the disk is not asked again: whether FileIsPresent found a file at the
// destination, a folder it has just made sure of (with its final ""), and
// the installer's own file times, read once per run.
struct KnownFacts {
  bool destinationPresent = false;
  std::string readyFolder;
  std::optional<FileTimes> installerTimes;
};

// InstallFile with those facts: the destination's folder is not checked when
// it is `readyFolder`, and a completed copy takes normal attributes and
// `installerTimes` through its still open handle.
bool InstallFile(InstallerContext& cx, CopyView& view, const std::string& source,
                 const std::string& destination, bool mayReplace, bool& existedBefore,
                 const KnownFacts& known);

// Copies in 32000-byte blocks, updating both labels and both bars before each
// block (which lets pending window messages run) and advancing BytesCopied.
// True when the copy completed with both lengths equal. A destination held by
// another program is copied to NextFreeNumberedName of it and scheduled to be
// put in place at the next start (RestartNeeded is set); the result is then
// false.
bool CopyFileWithProgress(InstallerContext& cx, CopyView& view, const std::string& source,
                          const std::string& destination);

// The first name that does not exist of the path with its extension replaced
// by 000, 001, ... ("COMCTL32.OCX" gives "COMCTL32.000"). A name without a
// "." among its last six characters gets ".000" ... added.
std::string NextFreeNumberedName(FileSystem& files, const std::string& path);

}  // namespace tessaro
