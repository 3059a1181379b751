#pragma once
// The copy of one package file in blocks, which drives the copy page's
// labels and bars. An existing file is replaced by a whole copy only, and one
// that another program holds open is replaced at the next start of Windows.
#include <cstddef>
#include <functional>
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

// Copies in 32000-byte blocks, updating both labels and both bars before each
// block (which lets pending window messages run) and advancing BytesCopied.
// True when the copy completed with both lengths equal. A destination held by
// another program is copied to NextFreeNumberedName of it and scheduled to be
// put in place at the next start (RestartNeeded is set); the result is then
// false.
bool CopyFileWithProgress(InstallerContext& cx, CopyView& view, const std::string& source,
                          const std::string& destination);

// Told of a destination the copy has just created, before any byte goes in:
// false when it cannot take note of it, and the copy then deletes the file
// and fails.
using CreatedFile = std::function<bool(const std::string& path)>;

// CopyFileWithProgress for a destination whose presence is known: a present
// one (anything at all, EntryExists) is replaced whole, a missing one is
// created, never opened over something that appeared meanwhile. With
// `times`, a completed copy takes them and normal attributes through its
// still open handle; `stamped` tells whether it did.
bool CopyKnown(InstallerContext& cx, CopyView& view, const std::string& source,
               const std::string& destination, bool present, const std::optional<FileTimes>& times,
               const CreatedFile& created, bool& stamped);

// Moves `scratch`, a complete copy, over `destination` in one step, clearing
// the attributes that would refuse it; a move that fails leaves the
// destination as it was, attributes included. The move's status.
FileStatus MoveOverExisting(FileSystem& files, const std::string& scratch,
                            const std::string& destination);

}  // namespace tessaro
