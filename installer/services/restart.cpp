#include "services/restart.h"

#include "services/shutdown.h"
#include "settings/helpers.h"

namespace tessaro {

bool RestartWindowsIfNeeded(InstallerContext& cx) {
  if (!cx.state.RestartNeeded) return false;
  // A refusal has already been told to the user; it only changes the exit code.
  clsShutdown shutdown(cx.sys.ui, cx.sys.platform);
  if (IsNTPlatform(cx.sys.platform)) return shutdown.ShutDownNTbasedWindows(ewx::Reboot);
  return shutdown.ShutDownDOSbasedWindows(ewx::Reboot);
}

}  // namespace tessaro
