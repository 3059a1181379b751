#include "restore_steps.h"

#include <vector>

#include "crc32.h"
#include "floppy_set.h"
#include "kvb_texts.h"
#include "set_label.h"
#include "split_join.h"

namespace tessaro::kvb {

namespace {

std::string ChecksPath() { return std::string(kFloppyRoot) + kChecksFileName; }

// The recovery floppy in the drive, its checksums read; nothing once the
// user gave up on it.
std::optional<FloppyChecks> AskForRecoveryFloppy(Services& sys, const SetOnFloppies& set) {
  const std::string parity = std::string(kFloppyRoot) + kParityFileName;
  for (;;) {
    std::string why;
    std::optional<FloppyChecks> checks;
    if (!FileExists(sys.files, parity))
      why = kvb_texts::kWrongRecoveryFloppy;
    else if (GetVolumeLabel(sys.files, kFloppyRoot) != set.label)
      why = kvb_texts::kOtherSetRecoveryFloppy;
    else if (!(checks = ReadFloppyChecks(sys.files)) || !BelongsToSet(*checks, kRecoveryFloppy, set))
      why = Damaged(kRecoveryFloppy, ChecksPath());
    if (why.empty()) return checks;
    if (!Retry(sys, why + kvb_texts::kRetryEnd)) return std::nullopt;
  }
}

}  // namespace

std::string Damaged(int64_t k, const std::string& path) {
  const std::string floppy = k == kRecoveryFloppy
                                 ? std::string(kvb_texts::kDamagedRecoveryFloppy)
                                 : kvb_texts::kDamagedFloppy + std::to_string(k);
  return floppy + kvb_texts::kDamagedFileAt + path + kvb_texts::kDamagedFileEnd;
}

bool Retry(Services& sys, const std::string& text) {
  sys.ui.Beep();
  return sys.ui.ShowMessage(text, kvb_texts::kProgramTitle, MsgIcon::Exclamation,
                            MsgButtons::OkCancel) == MsgAnswer::Ok;
}

std::optional<FloppyChecks> ReadFloppyChecks(FileSystem& files) {
  auto length = files.FileLength(ChecksPath());
  if (!length || *length > kLargestChecksFile) return std::nullopt;
  auto bytes = files.ReadAll(ChecksPath());
  return bytes ? DecodeFloppyChecks(*bytes) : std::nullopt;
}

bool BelongsToSet(const FloppyChecks& c, int32_t floppy, const SetOnFloppies& set) {
  const bool matchesFirst = !set.checks || (c.fileCrc == set.checks->fileCrc &&
                                            c.hasRecoveryFloppy == set.checks->hasRecoveryFloppy);
  return c.label == set.label && c.floppy == floppy && c.count == set.catalogue.PieceCount &&
         c.fileLength == set.catalogue.FileLength && matchesFirst;
}

Taken TakePiece(SplitView& view, Services& sys, ByteCounters& counters, const SetOnFloppies& set,
                int64_t k, const std::string& target) {
  const std::string number = std::to_string(k);
  const std::string name = SplitAtLast(set.catalogue.SourcePath, false, '\\');
  const std::string piece = kFloppyRoot + name + "." + PieceNumberText(k);
  const int64_t size = PieceDataSize(set.catalogue.FileLength, k, kPieceSize);
  std::vector<char> buffer(kStreamBlockSize);
  for (;;) {
    if (!FileExists(sys.files, piece)) {
      if (!Retry(sys, kvb_texts::kWrongFloppy + number + kvb_texts::kRetryEnd)) return Taken::GivenUp;
      continue;
    }
    if (GetVolumeLabel(sys.files, kFloppyRoot) != set.label) {
      if (!Retry(sys, kvb_texts::kOtherSetFloppy + number + kvb_texts::kRetryEnd))
        return Taken::GivenUp;
      continue;
    }
    // In a set with checksums, the floppy's own file gives its piece's.
    std::optional<uint32_t> expected;
    if (set.checks) {
      auto own = ReadFloppyChecks(sys.files);
      if (!own || !BelongsToSet(*own, static_cast<int32_t>(k), set)) {
        if (!Retry(sys, Damaged(k, ChecksPath()) + kvb_texts::kRetryEnd)) return Taken::GivenUp;
        continue;
      }
      expected = own->pieceCrcs.front();
    }
    const int64_t before = counters.CopiedBytes;
    Crc32 crc;
    const CopyOutcome copy = TrackedCopy(view, sys, counters, piece, target,
                                         [&](const char* data, size_t n) { crc.Update(data, n); });
    const bool intact = !expected || crc.Value() == *expected;
    if (copy.done && intact &&
        ReadPieceFile(sys.files, target, size, nullptr, buffer).check == PieceCheck::Ok)
      return Taken::Yes;
    // A piece that did not come off whole never reaches the join: the same
    // floppy is asked for again, and its bytes are counted once. The box says
    // whether the floppy or the hard disk let the copy down.
    counters.CopiedBytes = before;
    if (copy.failed == CopySide::Target) {
      if (!Retry(sys, kvb_texts::kHardDiskWriteFailed + target + kvb_texts::kRetryEnd))
        return Taken::Cancelled;
      continue;
    }
    const std::string why =
        copy.done && !intact
            ? Damaged(k, piece)
            : kvb_texts::kPieceUnreadable + piece + kvb_texts::kPieceUnreadableFloppy + number;
    if (!Retry(sys, why + kvb_texts::kRetryEnd)) return Taken::GivenUp;
  }
}

Rebuilt RebuildPiece(SplitView& view, Services& sys, ByteCounters& counters,
                     const SetOnFloppies& set, int64_t missing) {
  const BackupCatalogue& catalogue = set.catalogue;
  const std::string parityPath = std::string(kFloppyRoot) + kParityFileName;
  const auto paritySize = static_cast<size_t>(PieceDataSize(catalogue.FileLength, 1, kPieceSize));
  Tell(sys, kvb_texts::kInsertRecoveryFloppy, MsgIcon::Information);

  // The parity, one piece's worth, is the only thing held in memory.
  std::string parity;
  std::optional<FloppyChecks> recovery;
  for (;;) {
    if (!(recovery = AskForRecoveryFloppy(sys, set))) return Rebuilt::Cancelled;
    const int64_t before = counters.CopiedBytes;
    Crc32 crc;
    const CopyOutcome read = ReadWithProgress(view, sys, counters, parityPath, parity,
                                              [&](const char* data, size_t n) { crc.Update(data, n); });
    if (read.done && parity.size() == paritySize && crc.Value() == recovery->parityCrc) break;
    counters.CopiedBytes = before;
    const std::string why = read.done ? Damaged(kRecoveryFloppy, parityPath)
                                      : kvb_texts::kPieceUnreadable + parityPath +
                                            kvb_texts::kPieceUnreadableRecovery;
    if (!Retry(sys, why + kvb_texts::kRetryEnd)) return Rebuilt::Cancelled;
  }

  // Every other piece, as this restore put it beside the data file, taken
  // out of the parity leaves the missing one.
  std::vector<char> buffer(kStreamBlockSize);
  for (int64_t k = 1; k <= catalogue.PieceCount; ++k) {
    if (k == missing) continue;
    const std::string path = catalogue.SourcePath + "." + PieceNumberText(k);
    size_t offset = 0;
    const PieceRead piece = ReadPieceFile(
        sys.files, path, PieceDataSize(catalogue.FileLength, k, kPieceSize), nullptr, buffer,
        [&](const char* data, size_t n) {
          AddToParity(parity, offset, data, n);
          offset += n;
        });
    if (piece.check != PieceCheck::Ok) {
      Alert(sys,
            piece.check == PieceCheck::Failed ? sys.files.ErrorText(piece.status.code) + "\r\n" + path
                                              : kvb_texts::kDamagedPiece + path,
            MsgIcon::Critical);
      return Rebuilt::Failed;
    }
  }
  parity.resize(static_cast<size_t>(PieceDataSize(catalogue.FileLength, missing, kPieceSize)));
  const std::string rebuilt = EncodePiece(parity);
  if (Crc32Of(rebuilt) != recovery->pieceCrcs.at(static_cast<size_t>(missing) - 1)) {
    Alert(sys,
          kvb_texts::kRebuiltPieceDiffers + std::to_string(missing) + kvb_texts::kRebuiltPieceDiffersEnd,
          MsgIcon::Critical);
    return Rebuilt::Failed;
  }
  const std::string target = catalogue.SourcePath + "." + PieceNumberText(missing);
  if (FileStatus written = sys.files.WriteAll(target, rebuilt); !written) {
    Alert(sys, sys.files.ErrorText(written.code) + "\r\n" + target, MsgIcon::Critical);
    return Rebuilt::Failed;
  }
  return Rebuilt::Yes;
}

}  // namespace tessaro::kvb
