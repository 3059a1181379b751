#pragma once
// Loading the package, the first step of every run: the wizard's start-up
// (its Form_Load, which adds its captions) and the silent run's.
#include <functional>
#include <string>

#include "installer_state.h"

namespace tessaro {

// Asks whether to go on in safe mode (Cancel ends the program, 1602), makes
// the setup folder the current folder, checks the eight package files (the
// first one missing is told and ends the program, 1603), and reads Setup.dip
// into the package values, the default destination under the system's
// program files folder among them; so a second load resets the user's
// choices. Throws a RuntimeError when a file cannot be read or Setup.dip is
// cut short: the values read before the error stay.
void LoadPackage(InstallerContext& cx);

// The package's welcome text, Welcome.txt decoded from the ANSI code page.
// Throws a RuntimeError when it cannot be read.
std::string ReadWelcomeText(InstallerContext& cx);

// Runs `step`, a start-up built on LoadPackage. A run-time error stops it:
// the run has failed whatever follows (exit code 1603), the user is told with
// the "#410#" box, and the answer is false. The program's end passes through.
bool RunStartupStep(InstallerContext& cx, const std::function<void()>& step);

}  // namespace tessaro
