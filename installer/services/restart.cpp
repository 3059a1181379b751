#include "restart.h"

namespace tessaro {

void RestartWindowsIfNeeded(InstallerContext& cx) {
  if (!cx.state.RestartNeeded) return;
  // Files are not yet deferred to the next start, so nothing sets the flag;
  // the restart request arrives together with the in-use replacement.
}

}  // namespace tessaro
