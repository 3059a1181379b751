#pragma once
// Facts about the running system and the program itself.
#include <cstdint>
#include <optional>
#include <string>

namespace tessaro {

// How far enabling or disabling the shutdown privilege got: the process
// token could not be opened, the privilege's identifier not looked up, or the
// token not adjusted.
enum class PrivilegeStep { Done, TokenNotOpened, NotLookedUp, NotAdjusted };

// A day of the calendar, in the user's local time.
struct CalendarDate {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

class Platform {
 public:
  virtual ~Platform() = default;
  virtual bool IsNT() = 0;
  // GetSystemMetrics(SM_CLEANBOOT): 0 normal, 1 safe mode, 2 safe mode with network.
  virtual int CleanBootMode() = 0;
  // Today's date on the local clock.
  virtual CalendarDate Today() = 0;
  // Full path of the running program file.
  virtual std::string ProgramPath() = 0;
  // Upper case as Windows makes it (accented letters included).
  virtual std::string UpperCase(const std::string& text) = 0;
  // Lower case as Windows makes it (CharLowerBuff).
  virtual std::string LowerCase(const std::string& text) = 0;
  // Text in the system's ANSI code page <-> UTF-8.
  virtual std::string FromAnsi(const std::string& bytes) = 0;
  virtual std::string ToAnsi(const std::string& text) = 0;
  // The user's locale values (LCTYPE numbers).
  virtual std::optional<std::string> LocaleValue(uint32_t type) = 0;
  virtual bool SetLocaleValue(uint32_t type, const std::string& value) = 0;
  // Tells every top-level window that the installed fonts changed.
  virtual void BroadcastFontChange() = 0;
  // Ends the process; never returns.
  [[noreturn]] virtual void ExitProgram(int code) = 0;
  // Enables (or disables again) the process's SeShutdownPrivilege. Windows
  // reports success even when the account does not hold the privilege.
  virtual PrivilegeStep AdjustShutdownPrivilege(bool enable) = 0;
  // Asks Windows to log off, shut down or restart (ExitWindowsEx flags);
  // true when Windows accepted the request.
  virtual bool RequestWindowsExit(uint32_t flags) = 0;
};

}  // namespace tessaro
