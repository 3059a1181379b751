#include "floppy_set.h"

#include "kvb_texts.h"
#include "path_split.h"
#include "set_checks.h"
#include "set_format.h"
#include "set_label.h"
#include "split_join.h"

namespace tessaro::kvb {

namespace {

std::string TwoDigits(int n) {
  return std::string(1, static_cast<char>('0' + n / 10 % 10)) + static_cast<char>('0' + n % 10);
}

// Gets the floppy in the drive ready for piece k (k = 0: the recovery
// floppy): not one of this set, labelled, emptied, and for k = 1 holding the
// catalogue. Repeats, after the user's OK, until it is.
void PrepareFloppy(SplitView& view, Services& sys, ByteCounters& counters, int32_t k,
                   const std::string& label, const std::string& catalogue,
                   const std::string& catalogueName) {
  for (;;) {
    if (GetVolumeLabel(sys.files, kFloppyRoot) == label) {
      Alert(sys, kvb_texts::kFloppyOfThisSet, MsgIcon::Exclamation);
      continue;
    }
    if (!sys.files.ChangeVolumeLabel(kFloppyRoot, label)) {
      Alert(sys, kvb_texts::kLabelWriteError, MsgIcon::Critical);
      continue;
    }
    ClearDir(sys, kFloppyRoot);
    // A floppy that failed now carries the set's label, so the next round
    // asks the user to replace it.
    if (k == 1 &&
        !CopyToFloppy(view, sys, counters, catalogue, std::string(kFloppyRoot) + catalogueName))
      continue;
    return;
  }
}

}  // namespace

void Tell(Services& sys, const std::string& text, MsgIcon icon) {
  sys.ui.ShowMessage(text, kvb_texts::kProgramTitle, icon, MsgButtons::Ok);
}

void Alert(Services& sys, const std::string& text, MsgIcon icon) {
  sys.ui.Beep();
  Tell(sys, text, icon);
}

std::string CatalogueName(const CalendarDate& date) {
  return TwoDigits(date.day) + TwoDigits(date.month) + TwoDigits(date.year % 100) + ".gbt";
}

void MakeBackup(SplitView& view, Services& sys, SplitState& state, ByteCounters& counters,
                const std::string& dataFile, const std::function<std::string()>& newLabel) {
  counters = ByteCounters{};
  const std::string label = newLabel();
  const std::string folder = FolderOfPath(dataFile);
  const std::string name = FileNamePart(dataFile);
  const std::string catalogueName = CatalogueName(sys.platform.Today());
  const std::string catalogue = folder + catalogueName;

  // A set the restore would refuse is never made.
  if (!IsRestorableSource(dataFile, dataFile)) {
    Alert(sys, kvb_texts::kPathNotRestorable + dataFile, MsgIcon::Critical);
    return;
  }
  std::string why;
  int32_t floppies = 0;
  SetChecks checks;
  if (!SplitFile(sys, folder + name, 1, why, floppies, kPieceSize, catalogue, &checks)) {
    Alert(sys, why, MsgIcon::Critical);
    return;
  }
  const auto length = static_cast<int32_t>(sys.files.FileLength(dataFile).value_or(0));
  // Everything that goes onto the floppies, the checksum files included.
  counters.TotalBytes = length +
                        static_cast<int64_t>(sys.files.FileLength(catalogue).value_or(0)) +
                        floppies * static_cast<int64_t>(FloppyChecksSize(1, floppies));

  const std::string question =
      kvb_texts::kFloppiesNeeded + std::to_string(floppies) + kvb_texts::kFloppiesNeededEnd;
  if (sys.ui.ShowMessage(question, kvb_texts::kProgramTitle, MsgIcon::Information,
                         MsgButtons::OkCancel) != MsgAnswer::Ok) {
    Alert(sys, kvb_texts::kBackupCancelled, MsgIcon::Exclamation);
    sys.platform.ExitProgram(0);
  }
  const bool recovery = sys.ui.ShowMessage(kvb_texts::kOfferRecoveryFloppy, kvb_texts::kProgramTitle,
                                           MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
  if (recovery)
    counters.TotalBytes += static_cast<int64_t>(checks.parity.size() +
                                                FloppyChecksSize(kRecoveryFloppy, floppies));

  EnterBusy(view, sys.ui);
  const std::string checksFile = std::string(kFloppyRoot) + kChecksFileName;
  // Floppies 1 to n, then the recovery floppy (0). A floppy step that is
  // repeated counts its bytes once: the counter goes back to where the step
  // began (the first floppy's catalogue included).
  for (int64_t k = 1; k <= floppies + (recovery ? 1 : 0); ++k) {
    const auto floppy = static_cast<int32_t>(k <= floppies ? k : kRecoveryFloppy);
    const std::string number = "." + PieceNumberText(k);
    const std::string checksBytes =
        EncodeFloppyChecks(ChecksOfFloppy(checks, label, floppy, recovery, length));
    const int64_t before = counters.CopiedBytes;
    for (;;) {
      counters.CopiedBytes = before;
      PrepareFloppy(view, sys, counters, floppy, label, catalogue, catalogueName);
      const bool written =
          floppy == kRecoveryFloppy
              ? WriteToFloppy(view, sys, counters, checks.parity,
                              std::string(kFloppyRoot) + kParityFileName)
              : CopyToFloppy(view, sys, counters, dataFile + number, kFloppyRoot + name + number);
      if (written && WriteToFloppy(view, sys, counters, checksBytes, checksFile)) break;
    }
    if (k < floppies)
      Tell(sys, kvb_texts::kInsertFloppy + std::to_string(k + 1), MsgIcon::Information);
    else if (k == floppies && recovery)
      Tell(sys, kvb_texts::kInsertRecoveryFloppy, MsgIcon::Information);
  }
  ReturnToIdle(view, sys.ui, state);
  Tell(sys, kvb_texts::kBackupDone, MsgIcon::Information);
  sys.platform.ExitProgram(0);
}

}  // namespace tessaro::kvb
