#pragma once
// The processes seam: starting a command line and waiting for its end.
#include "seams/processes.h"

namespace tessaro {

class Win32Processes : public Processes {
 public:
  std::optional<uint32_t> RunAndWait(const std::string& commandLine) override;
  bool Start(const std::string& commandLine, bool minimized) override;
  std::optional<int32_t> CallEntryPoint(const std::string& libraryPath,
                                        const std::string& function) override;
};

}  // namespace tessaro
