#include "services/shutdown.h"

#include "texts.h"

namespace tessaro {

namespace {

// Only shutting down, restarting and powering off need the privilege; a log-off does not.
bool NeedsPrivilege(uint32_t mode) {
  return (mode & (ewx::ShutDown | ewx::Reboot | ewx::PowerOff)) != 0;
}

}  // namespace

void clsShutdown::Warn(const char* text) {
  ui_.ShowMessage(text, texts::kProgramTitle, MsgIcon::Exclamation, MsgButtons::Ok);
}

bool clsShutdown::ShutDownDOSbasedWindows(uint32_t ShutDownMode) {
  if (platform_.RequestWindowsExit(ShutDownMode)) return true;
  Warn(texts::kCannotRestart);
  return false;
}

bool clsShutdown::ShutDownNTbasedWindows(uint32_t ShutDownMode) {
  const bool privileged = NeedsPrivilege(ShutDownMode);
  if (privileged && !SetShutdownPrivilege(true)) {
    Warn(texts::kNoRestartRights);
    return false;
  }
  const bool accepted = ShutDownDOSbasedWindows(ShutDownMode);
  // Given up again whether or not Windows took the request.
  if (privileged) SetShutdownPrivilege(false);
  return accepted;
}

bool clsShutdown::SetShutdownPrivilege(bool enable) {
  switch (platform_.AdjustShutdownPrivilege(enable)) {
    case PrivilegeStep::Done:
      return true;
    case PrivilegeStep::TokenNotOpened:
      Warn(texts::kPrivilegeTokenError);
      return false;
    case PrivilegeStep::NotLookedUp:
      Warn(texts::kPrivilegeLookupError);
      return false;
    case PrivilegeStep::NotAdjusted:
      Warn(texts::kPrivilegeAdjustError);
      return false;
  }
  return false;
}

}  // namespace tessaro
