#pragma once
#include "seams/platform.h"

namespace tessaro {

class Win32Platform : public Platform {
 public:
  bool IsNT() override;
  int CleanBootMode() override;
  CalendarDate Today() override;
  std::string ProgramPath() override;
  std::string UpperCase(const std::string& text) override;
  std::string LowerCase(const std::string& text) override;
  std::string FromAnsi(const std::string& bytes) override;
  std::string ToAnsi(const std::string& text) override;
  std::optional<std::string> LocaleValue(uint32_t type) override;
  bool SetLocaleValue(uint32_t type, const std::string& value) override;
  void BroadcastFontChange() override;
  [[noreturn]] void ExitProgram(int code) override;
  PrivilegeStep AdjustShutdownPrivilege(bool enable) override;  // shutdown_win.cpp
  bool RequestWindowsExit(uint32_t flags) override;
};

}  // namespace tessaro
