#pragma once
// Asking Windows to log off, shut down or restart. On NT-based Windows the
// process enables its shutdown privilege for the request and disables it
// again afterwards. Every failure is told to the user in a box titled with
// the program's title.
#include <cstdint>

#include "seams/platform.h"
#include "seams/ui.h"

namespace tessaro {

// ExitWindowsEx flags, passed to Windows unchanged.
namespace ewx {
constexpr uint32_t LogOff = 0;
constexpr uint32_t ShutDown = 1;
constexpr uint32_t Reboot = 2;
constexpr uint32_t Force = 4;
constexpr uint32_t PowerOff = 8;
}  // namespace ewx

class clsShutdown {
 public:
  clsShutdown(UserInterface& ui, Platform& platform) : ui_(ui), platform_(platform) {}

  // True when Windows accepted the request.
  bool ShutDownDOSbasedWindows(uint32_t ShutDownMode);
  bool ShutDownNTbasedWindows(uint32_t ShutDownMode);

 private:
  bool SetShutdownPrivilege(bool enable);
  void Warn(const char* text);

  UserInterface& ui_;
  Platform& platform_;
};

}  // namespace tessaro
