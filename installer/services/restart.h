#pragma once
#include "installer_state.h"

namespace tessaro {

// The last step before the installer ends: asks Windows to restart when a
// file in use was left to be replaced at the next start. True when Windows
// accepted the request.
bool RestartWindowsIfNeeded(InstallerContext& cx);

}  // namespace tessaro
