#include "exit_codes.h"

#include <cstdlib>
#include <string>

namespace tessaro {

int ExitCodeOf(const InstallerState& state) {
  if (state.ExitCode >= 0) return state.ExitCode;
  if (state.QuitConfirmed) return exitcode::Cancelled;
  if (state.RestartNeeded || state.RestartDeclined) return exitcode::RestartRequired;
  return exitcode::Installed;
}

void EndProgram(InstallerContext& cx, int code) {
  Note(cx, "fine, codice di uscita " + std::to_string(code));
  cx.sys.platform.ExitProgram(code);
  std::abort();  // ExitProgram does not return
}

}  // namespace tessaro
