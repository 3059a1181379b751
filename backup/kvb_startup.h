#pragma once
// Start-up of the backup program: the command line names the data file, and
// the program refuses to run as a second copy or without a usable file.
#include <string>

#include "seams/services.h"
#include "split_window.h"

namespace tessaro::kvb {

// Everything after the program's name on a command line, taken as one text:
// the name (quoted or up to the first blank) and the blanks after it go, no
// quotes are removed from the rest.
std::string ArgumentText(const std::string& commandLine);

// True when `path` names an existing, non-empty file with ordinary
// attributes: a folder, a hidden or system file, a wildcard pattern or an
// empty text does not do.
bool IsUsableDataFile(FileSystem& files, const std::string& path);

// Loading the main window: places it, refuses a second copy and a command
// line without a usable data file (each with its box, then the program
// ends), rewinds the animation and keeps the window on top.
void LoadSplitForm(SplitView& view, Services& sys, SplitState& state, const std::string& dataFile,
                   bool previousInstance);

}  // namespace tessaro::kvb
