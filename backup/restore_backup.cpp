#include "floppy_set.h"

#include "kvb_texts.h"
#include "restore_steps.h"
#include "set_format.h"
#include "set_label.h"
#include "split_join.h"

namespace tessaro::kvb {

namespace {

constexpr const char* kProductWord = "tessaro";
constexpr const char* kBackupWord = "backup";

// The first "*.gbt" among the floppy root's ordinary files; empty when none.
std::string FirstCatalogueName(FileSystem& files) {
  for (const DirEntry& e : files.List(std::string(kFloppyRoot) + "*.gbt"))
    if (!(e.attributes & (attr::Directory | attr::Hidden | attr::System))) return e.name;
  return {};
}

// The catalogue of the floppy in the drive, read and checked for a program
// started for `dataFile`. Nothing with `why` set when it cannot be read (the
// system's reason) or describes no set this program makes (ours).
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
  // Every other end: a beep, a box, then Idle.
  auto end = [&](const std::string& why, MsgIcon icon) {
    Alert(sys, why, icon);
    idle();
  };
  auto fail = [&](const std::string& why) { end(why, MsgIcon::Critical); };
  auto cancelled = [&] { end(kvb_texts::kRestoreCancelled, MsgIcon::Exclamation); };

  // Is there a readable disk in the drive? The program's own folder stays current.
  const std::string ownFolder = sys.files.CurrentFolder();
  if (FileStatus floppy = sys.files.SetCurrentFolder(kFloppyRoot); !floppy) {
    sys.files.SetCurrentFolder(ownFolder);
    return fail(sys.files.ErrorText(floppy.code));
  }
  sys.files.SetCurrentFolder(ownFolder);

  const std::string catalogueName = FirstCatalogueName(sys.files);
  if (catalogueName.empty() || !FileExists(sys.files, kFloppyRoot + catalogueName))
    return end(kvb_texts::kNotFirstFloppy, MsgIcon::Exclamation);
  SetOnFloppies set;
  set.label = GetVolumeLabel(sys.files, kFloppyRoot);
  std::string why;
  auto read = ReadFloppyCatalogue(sys, kFloppyRoot + catalogueName, dataFile, why);
  if (!read) return fail(why);
  set.catalogue = read->first;
  const BackupCatalogue& catalogue = set.catalogue;
  // A set made with checksums has a checksum file on its first floppy; one
  // that is there but damaged is a damaged first floppy.
  const std::string checksFile = std::string(kFloppyRoot) + kChecksFileName;
  if (FileExists(sys.files, checksFile)) {
    set.checks = ReadFloppyChecks(sys.files);
    if (!set.checks || !BelongsToSet(*set.checks, 1, set))
      return fail(Damaged(1, checksFile) + ".");
  }
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

  // One floppy the user cannot give may be rebuilt at the end, when the set
  // has a recovery floppy; a second cannot.
  int64_t missing = 0;
  const bool recoverable = set.checks && set.checks->hasRecoveryFloppy;
  for (int64_t k = 1; k <= catalogue.PieceCount; ++k) {
    if (k > 1) Tell(sys, kvb_texts::kInsertFloppy + std::to_string(k), MsgIcon::Information);
    const std::string target = catalogue.SourcePath + "." + PieceNumberText(k);
    const Taken taken = TakePiece(view, sys, counters, set, k, target);
    if (taken == Taken::Yes) continue;
    if (taken == Taken::Cancelled || !recoverable) return cancelled();
    if (missing != 0)
      return fail(kvb_texts::kTwoFloppiesLost + std::to_string(missing) +
                  kvb_texts::kTwoFloppiesLostAnd + std::to_string(k) + kvb_texts::kTwoFloppiesLostEnd);
    const std::string rebuild =
        kvb_texts::kRebuildFloppy + std::to_string(k) + kvb_texts::kRebuildFloppyEnd;
    if (sys.ui.ShowMessage(rebuild, kvb_texts::kProgramTitle, MsgIcon::Question,
                           MsgButtons::YesNo) != MsgAnswer::Yes)
      return cancelled();
    missing = k;
  }
  if (missing != 0) {
    const Rebuilt rebuilt = RebuildPiece(view, sys, counters, set, missing);
    if (rebuilt == Rebuilt::Cancelled) return cancelled();
    if (rebuilt == Rebuilt::Failed) return idle();
  }

  const std::optional<uint32_t> fileCrc =
      set.checks ? std::optional<uint32_t>(set.checks->fileCrc) : std::nullopt;
  if (!JoinFile(sys, folder + catalogueName, false, folder + name, fileCrc))
    return fail(kvb_texts::kRestoreFailed);
  Tell(sys, kvb_texts::kRestoreDone, MsgIcon::Information);
  idle();
}

}  // namespace tessaro::kvb
