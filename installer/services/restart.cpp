#include "restart.h"

#include "setup_folder.h"
#include "shutdown.h"

namespace tessaro {

void RestartWindowsIfNeeded(InstallerContext& cx) {
  if (!cx.state.RestartNeeded) return;
  // The outcome does not matter: the installer ends right after either way,
  // and a refusal has already been told to the user.
  clsShutdown shutdown(cx.sys.ui, cx.sys.platform);
  if (IsNTPlatform(cx.sys.platform))
    shutdown.ShutDownNTbasedWindows(ewx::Reboot);
  else
    shutdown.ShutDownDOSbasedWindows(ewx::Reboot);
}

}  // namespace tessaro
