#pragma once
// Making a set of floppies from the data file and restoring the data file
// from such a set: the two operations behind the main window's buttons, with
// every prompt, retry and check. Drive A: is the floppy drive.
#include <functional>
#include <string>

#include "copy_progress.h"
#include "seams/services.h"
#include "split_window.h"

namespace tessaro::kvb {

inline constexpr const char* kFloppyRoot = "A:\\";

// A box of the program with only OK: its title, this text and icon.
void Tell(Services& sys, const std::string& text, MsgIcon icon);
// A beep, then that box.
void Alert(Services& sys, const std::string& text, MsgIcon icon);

// The catalogue of a set made on `date`: day, month and year in two digits
// each, then ".gbt" ("071226.gbt" for 7 December 2026).
std::string CatalogueName(const CalendarDate& date);

// Crea Set di Backup: cuts the data file into pieces beside it, asks for as
// many floppies as there are pieces, offers a recovery floppy, and writes
// each floppy (labelled with the set's label, emptied, its piece and its
// checksum file, on the first the catalogue, on the recovery floppy the
// parity and every checksum; each file read back and compared). Ends the
// program when done or cancelled; stays open, Idle, when the file cannot be
// cut or a set of it could not be restored. `newLabel` makes the set label.
void MakeBackup(SplitView& view, Services& sys, SplitState& state, ByteCounters& counters,
                const std::string& dataFile, const std::function<std::string()>& newLabel);

// The title of the first open window of the application (its title holds
// the product's name and not "backup", in any case), or nothing.
std::optional<std::string> ApplicationWindow(SplitView& view, Platform& platform);

// Ripristina Backup: after making sure the application is closed, reads and
// checks the catalogue of the first floppy, collects and checks every piece
// beside the data file (against its checksum, in a set that has them; one
// floppy the user cannot give is rebuilt from the recovery floppy) and
// rebuilds the data file where it was backed up from. Always returns to
// Idle; the data file changes only when the whole set was read and the
// rebuilt file has the checksum of the one backed up.
// `dataFile` is the file the program was started for: a set of a file on a
// network share is restored only when it names that same file.
void RestoreBackup(SplitView& view, Services& sys, SplitState& state, ByteCounters& counters,
                   const std::string& dataFile);

}  // namespace tessaro::kvb
