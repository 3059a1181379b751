#pragma once
// The steps of a restore that deal with one floppy at a time: taking a piece
// off its floppy, checked, and rebuilding a piece whose floppy was lost from
// the recovery floppy. RestoreBackup strings them together.
#include <cstdint>
#include <optional>
#include <string>

#include "copy_progress.h"
#include "set_checks.h"
#include "set_format.h"

namespace tessaro::kvb {

// What a restore knows of the set it reads, from its first floppy.
struct SetOnFloppies {
  BackupCatalogue catalogue;
  std::string label;                   // the first floppy's volume label
  std::optional<FloppyChecks> checks;  // its checksum file; none in a set made before them
};

// "Il floppy numero k è danneggiato: il file P non contiene i dati scritti
// dal Backup", k = kRecoveryFloppy naming the recovery floppy.
std::string Damaged(int64_t k, const std::string& path);

// Beeps and asks with OK and Cancel; true for OK.
bool Retry(Services& sys, const std::string& text);

// The checksum file of the floppy in the drive, whole; nothing when it is
// missing, unreadable or damaged.
std::optional<FloppyChecks> ReadFloppyChecks(FileSystem& files);
// Whether a checksum file is that of floppy `floppy` (kRecoveryFloppy for
// the recovery floppy) of this set.
bool BelongsToSet(const FloppyChecks& checks, int32_t floppy, const SetOnFloppies& set);

enum class Taken {
  Yes,
  Cancelled,  // Cancel answered where the floppy was not at fault
  GivenUp,    // Cancel answered to a floppy that is wrong, damaged or unreadable
};

// Takes piece k off its floppy into `target`, asking until the floppy in the
// drive is the right one of this set and its piece comes off whole (and, in
// a set with checksums, with its checksum, computed as it is copied).
Taken TakePiece(SplitView& view, Services& sys, ByteCounters& counters, const SetOnFloppies& set,
                int64_t k, const std::string& target);

enum class Rebuilt { Yes, Cancelled, Failed };

// Asks for the recovery floppy, reads its parity (checked as it is read) and
// combines it with the other pieces, already beside the data file, into
// piece `missing`, written there only when it has the checksum the backup
// gave it. Cancelled: Cancel answered at the recovery floppy's retry;
// Failed: the reason was shown and nothing was written.
Rebuilt RebuildPiece(SplitView& view, Services& sys, ByteCounters& counters,
                     const SetOnFloppies& set, int64_t missing);

}  // namespace tessaro::kvb
