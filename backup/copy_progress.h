#pragma once
// Every byte the backup program moves to or from a floppy goes through
// CopyWithProgress, which keeps both bars and the byte counter of the main
// window up to date; ClearDir empties a floppy before it is written.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <string>

#include "seams/services.h"
#include "split_join.h"
#include "split_window.h"

namespace tessaro::kvb {

inline constexpr size_t kBlockSize = 32000;

// The byte counters of one operation: set by the operation when it starts,
// advanced by CopyWithProgress. 64-bit, so the percentages stay right for
// files of any length (32-bit counts times 100 overflow past 21 MB).
struct ByteCounters {
  int64_t CopiedBytes = 0;
  int64_t TotalBytes = 0;
};

// part * 100 / whole, rounded to the nearest whole number with halves to
// even; 0 when whole is 0 or less.
int64_t RoundedPercent(int64_t part, int64_t whole);

// Copies `source` over `target` in blocks of 32,000 bytes. Before each block
// the partial bar, the byte counter and the total bar are updated (each bar
// lets pending window messages run, so Chiudi works during a copy). True when
// the target ends up as long as the source. A failure shows the system's
// description with the critical icon and gives false; Internet Explorer's
// own libraries fail quietly when in use or denied.
bool CopyWithProgress(SplitView& view, Services& sys, ByteCounters& counters,
                      const std::string& source, const std::string& target);

// Which file of a copy failed: the one read or the one written.
enum class CopySide { None, Source, Target };

struct CopyOutcome {
  bool done = false;
  CopySide failed = CopySide::None;  // when not done
};

// CopyWithProgress, telling which side failed and handing every block read
// to `seen` (when given). Shows the same boxes.
CopyOutcome TrackedCopy(SplitView& view, Services& sys, ByteCounters& counters,
                        const std::string& source, const std::string& target,
                        const BlockSink& seen = {});

// The same copy into memory: `into` ends up holding the source's bytes.
CopyOutcome ReadWithProgress(SplitView& view, Services& sys, ByteCounters& counters,
                             const std::string& source, std::string& into,
                             const BlockSink& seen = {});

// Bytes the program holds, read as a file.
class BytesFile : public OpenFile {
 public:
  explicit BytesFile(std::string_view bytes) : bytes_(bytes) {}
  FileStatus Read(char* buffer, size_t size) override;
  FileStatus Write(const char*, size_t) override { return {FileFault::Denied, 0}; }
  uint64_t Length() override { return bytes_.size(); }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

// Whether `copy`, read back from its medium past the system's cache, holds
// exactly the bytes of `original` (opened, not yet read). Both are
// read a block at a time; before each block the partial bar shows how much
// was compared and the total bar is drawn again where it stands, each
// letting pending window messages run as during a copy, so the window stays
// alive (and Annulla works) for the many seconds a real floppy takes.
bool ReadBackMatches(SplitView& view, Services& sys, const ByteCounters& counters,
                     OpenFile& original, const std::string& copy);

// CopyWithProgress onto a floppy, then the copy read back and compared with
// the source; a difference is a failed copy (with a box of its own). A
// failed copy leaves the byte counter where it was before, so a copy that is
// repeated does not count twice.
bool CopyToFloppy(SplitView& view, Services& sys, ByteCounters& counters, const std::string& source,
                  const std::string& target);
// The same for bytes the program holds (a checksum file, the parity).
bool WriteToFloppy(SplitView& view, Services& sys, ByteCounters& counters,
                   const std::string& bytes, const std::string& target);

// Empties `folder`: every file (read-only and hidden ones too) and every
// visible subfolder tree. A folder that is a junction or a symbolic link is
// removed as a link, never entered, so nothing outside the folder is
// touched. What cannot be deleted stays, silently.
void ClearDir(Services& sys, const std::string& folder);

}  // namespace tessaro::kvb
