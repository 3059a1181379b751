// Restarting Windows: the shutdown privilege and the request itself.
#include <windows.h>

#include "handles.h"
#include "platform_win.h"

namespace tessaro {

PrivilegeStep Win32Platform::AdjustShutdownPrivilege(bool enable) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &raw))
    return PrivilegeStep::TokenNotOpened;
  KernelHandle token(raw);

  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid))
    return PrivilegeStep::NotLookedUp;
  privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;

  // Succeeds with ERROR_NOT_ALL_ASSIGNED when the account lacks the
  // privilege; the restart request then fails and says so.
  if (!AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr))
    return PrivilegeStep::NotAdjusted;
  return PrivilegeStep::Done;
}

bool Win32Platform::RequestWindowsExit(uint32_t flags) { return ExitWindowsEx(flags, 0) != 0; }

}  // namespace tessaro
