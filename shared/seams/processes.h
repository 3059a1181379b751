#pragma once
// Starting other programs.
#include <cstdint>
#include <optional>
#include <string>

namespace tessaro {

class Processes {
 public:
  virtual ~Processes() = default;
  // Programs are named by their full path, and so is every file their
  // arguments name: they start in the system folder, with no handle of the
  // caller's.
  // Starts the command line and waits for it to end. Its exit code; nothing
  // when it could not be started.
  virtual std::optional<uint32_t> RunAndWait(const std::string& commandLine) = 0;
  // Starts the command line and returns at once; with `minimized` its window
  // opens minimized and takes the focus. False when it could not be started.
  virtual bool Start(const std::string& commandLine, bool minimized) = 0;
  // Loads the library, calls its exported function of that name (no
  // arguments, stdcall, as DllRegisterServer is) and unloads it again. The
  // function's result (an HRESULT: 0 is success), or nothing when the
  // library cannot be loaded or lacks the function.
  virtual std::optional<int32_t> CallEntryPoint(const std::string& libraryPath,
                                                const std::string& function) = 0;
};

}  // namespace tessaro
