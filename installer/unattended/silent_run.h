#pragma once
// The installation without a person: the package's loading, then the
// destination, the drive and the program group as the pages would take them
// (from the switches or the package's defaults), then the run. Every box on
// the way is answered by the silent user interface.
#include "engine/installation_run.h"
#include "unattended/command_line.h"

namespace tessaro {

// Never returns: it ends through EndOfSetup like the wizard. A destination
// the pages would refuse, or a drive they would not let the user go on from,
// ends the run with exit code 1603 before anything is installed.
[[noreturn]] void RunSilently(InstallerContext& cx, const CommandLine& line,
                              InstallationView& view);

}  // namespace tessaro
