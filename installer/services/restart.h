#pragma once
#include "installer_state.h"

namespace tessaro {

// The last step before the installer ends: asks Windows to restart when a
// file in use was left to be replaced at the next start.
void RestartWindowsIfNeeded(InstallerContext& cx);

}  // namespace tessaro
