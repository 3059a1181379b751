#pragma once
// The installer's exit codes, how the end of a run picks one, and the one
// function that ends the program. The codes follow the conventions of the
// system's own installer service, which administrators' tools already read.
#include "installer_state.h"

namespace tessaro {

namespace exitcode {
inline constexpr int Installed = 0;
inline constexpr int RestartRequired = 3010;  // installed; a restart is needed and was not done
inline constexpr int RestartStarted = 1641;   // installed; Windows is restarting
inline constexpr int Cancelled = 1602;        // the user cancelled
inline constexpr int Fatal = 1603;            // a fatal error
inline constexpr int BadCommandLine = 1639;
}  // namespace exitcode

// The exit code the end of setup gives: the one a fatal error or a cancel
// set, else 1602 after the quit dialog, 3010 when a restart is still needed,
// 0 when installed (EndOfSetup gives 1641 when it restarts Windows).
int ExitCodeOf(const InstallerState& state);

// Ends the program with `code`: writes the transcript's last line, "fine,
// codice di uscita N", then exits. Every end of the installer but /? comes
// here; EndOfSetup empties the setup folder first.
[[noreturn]] void EndProgram(InstallerContext& cx, int code);

}  // namespace tessaro
