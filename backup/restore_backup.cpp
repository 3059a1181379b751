#include "floppy_set.h"

#include <vector>

#include "kvb_texts.h"
#include "set_format.h"
#include "set_label.h"
#include "split_join.h"

namespace tessaro::kvb {

namespace {

constexpr const char* kProductWord = "tessaro";
constexpr const char* kBackupWord = "backup";

// Beeps and asks with OK and Cancel; true for OK.
bool Retry(Services& sys, const std::string& text) {
  sys.ui.Beep();
  return sys.ui.ShowMessage(text, kvb_texts::kProgramTitle, MsgIcon::Exclamation,
                            MsgButtons::OkCancel) == MsgAnswer::Ok;
}

// The first "*.gbt" among the floppy root's ordinary files; empty when none.
std::string FirstCatalogueName(FileSystem& files) {
  for (const DirEntry& e : files.List(std::string(kFloppyRoot) + "*.gbt"))
    if (!(e.attributes & (attr::Directory | attr::Hidden | attr::System))) return e.name;
  return {};
}

// The catalogue of the floppy in the drive, read and checked for a program
// started for `dataFile`. Nothing with
// `why` set when it cannot be read (the system's reason) or describes no set
// this program makes (ours).
std::optional<std::pair<BackupCatalogue, std::string>> ReadFloppyCatalogue(
    Services& sys, const std::string& path, const std::string& dataFile, std::string& why) {
  auto length = sys.files.FileLength(path);
  if (!length) {
    why = sys.files.ErrorText(length.status.code);
    return std::nullopt;
  }
  auto bytes = *length <= kLargestCatalogueSize ? sys.files.ReadAll(path) : std::nullopt;
  if (!bytes && *length <= kLargestCatalogueSize) {
    why = sys.files.ErrorText(bytes.status.code);
    return std::nullopt;
  }
  auto catalogue = bytes ? DecodeCatalogue(*bytes, sys.platform) : std::nullopt;
  if (!catalogue || !IsRestorableCatalogue(*catalogue, dataFile)) {
    why = kvb_texts::kBadCatalogue;
    return std::nullopt;
  }
  return std::make_pair(*catalogue, *bytes);
}

enum class Taken { Yes, Cancelled };

// Takes piece k off the floppies into `target`, asking until the floppy in
// the drive is the right one of this set and its piece comes off whole.
Taken TakePiece(SplitView& view, Services& sys, ByteCounters& counters, const std::string& name,
                int64_t k, int64_t size, const std::string& reference, const std::string& target) {
  const std::string number = std::to_string(k);
  const std::string piece = kFloppyRoot + name + "." + PieceNumberText(k);
  std::vector<char> buffer(kStreamBlockSize);
  for (;;) {
    if (!FileExists(sys.files, piece)) {
      if (!Retry(sys, kvb_texts::kWrongFloppy + number + kvb_texts::kRetryEnd)) return Taken::Cancelled;
      continue;
    }
    if (GetVolumeLabel(sys.files, kFloppyRoot) != reference) {
      if (!Retry(sys, kvb_texts::kOtherSetFloppy + number + kvb_texts::kRetryEnd))
        return Taken::Cancelled;
      continue;
    }
    const int64_t before = counters.CopiedBytes;
    const CopyOutcome copy = TrackedCopy(view, sys, counters, piece, target);
    if (copy.done && ReadPieceFile(sys.files, target, size, nullptr, buffer).check == PieceCheck::Ok)
      return Taken::Yes;
    // A piece that did not come off whole never reaches the join: the same
    // floppy is asked for again, and its bytes are counted once. The box says
    // whether the floppy or the hard disk let the copy down.
    counters.CopiedBytes = before;
    const std::string why =
        copy.failed == CopySide::Target
            ? kvb_texts::kHardDiskWriteFailed + target
            : kvb_texts::kPieceUnreadable + piece + kvb_texts::kPieceUnreadableFloppy + number;
    if (!Retry(sys, why + kvb_texts::kRetryEnd)) return Taken::Cancelled;
  }
}

}  // namespace

std::optional<std::string> ApplicationWindow(SplitView& view, Platform& platform) {
  for (const std::string& title : ListWindowTitles(view)) {
    const std::string lower = platform.LowerCase(title);
    if (lower.find(kProductWord) != std::string::npos &&
        lower.find(kBackupWord) == std::string::npos)
      return title;
  }
  return std::nullopt;
}

void RestoreBackup(SplitView& view, Services& sys, SplitState& state, ByteCounters& counters,
                   const std::string& dataFile) {
  // The data file is written over: the application must not have it open.
  if (auto title = ApplicationWindow(view, sys.platform)) {
    Tell(sys, kvb_texts::kCloseApplication + *title + kvb_texts::kCloseApplicationEnd,
         MsgIcon::Critical);
    return;
  }
  counters = ByteCounters{};
  Tell(sys, kvb_texts::kInsertFirstFloppy, MsgIcon::Information);
  EnterBusy(view, sys.ui);
  auto idle = [&] { ReturnToIdle(view, sys.ui, state); };
  auto fail = [&](const std::string& why) {
    sys.ui.Beep();
    Tell(sys, why, MsgIcon::Critical);
    idle();
  };
  auto cancelled = [&] {
    sys.ui.Beep();
    Tell(sys, kvb_texts::kRestoreCancelled, MsgIcon::Exclamation);
    idle();
  };

  // Is there a readable disk in the drive? The program's own folder stays current.
  const std::string ownFolder = sys.files.CurrentFolder();
  if (FileStatus floppy = sys.files.SetCurrentFolder(kFloppyRoot); !floppy) {
    sys.files.SetCurrentFolder(ownFolder);
    return fail(sys.files.ErrorText(floppy.code));
  }
  sys.files.SetCurrentFolder(ownFolder);

  const std::string catalogueName = FirstCatalogueName(sys.files);
  if (catalogueName.empty() || !FileExists(sys.files, kFloppyRoot + catalogueName)) {
    sys.ui.Beep();
    Tell(sys, kvb_texts::kNotFirstFloppy, MsgIcon::Exclamation);
    return idle();
  }
  const std::string reference = GetVolumeLabel(sys.files, kFloppyRoot);
  std::string why;
  auto read = ReadFloppyCatalogue(sys, kFloppyRoot + catalogueName, dataFile, why);
  if (!read) return fail(why);
  const BackupCatalogue& catalogue = read->first;
  const std::string folder = PathFolder(catalogue.SourcePath);
  const std::string name = SplitAtLast(catalogue.SourcePath, false, '\\');
  counters.TotalBytes = catalogue.FileLength;

  const std::string question = kvb_texts::kSetSize + std::to_string(catalogue.PieceCount) +
                               kvb_texts::kSetSizeEnd + catalogue.SourcePath;
  if (sys.ui.ShowMessage(question, kvb_texts::kProgramTitle, MsgIcon::Information,
                         MsgButtons::OkCancel) != MsgAnswer::Ok)
    return cancelled();
  // Only now that the user has seen the place is anything written there: the
  // catalogue, as it was read and checked, beside the data file.
  if (FileStatus written = sys.files.WriteAll(folder + catalogueName, read->second); !written)
    return fail(sys.files.ErrorText(written.code));

  for (int64_t k = 1; k <= catalogue.PieceCount; ++k) {
    if (k > 1) Tell(sys, kvb_texts::kInsertFloppy + std::to_string(k), MsgIcon::Information);
    const int64_t size = PieceDataSize(catalogue.FileLength, k, kPieceSize);
    const std::string target = catalogue.SourcePath + "." + PieceNumberText(k);
    if (TakePiece(view, sys, counters, name, k, size, reference, target) == Taken::Cancelled)
      return cancelled();
  }

  if (JoinFile(sys, folder + catalogueName, false, folder + name)) {
    Tell(sys, kvb_texts::kRestoreDone, MsgIcon::Information);
  } else {
    sys.ui.Beep();
    Tell(sys, kvb_texts::kRestoreFailed, MsgIcon::Critical);
  }
  idle();
}

}  // namespace tessaro::kvb
