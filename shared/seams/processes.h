#pragma once
// Starting other programs.
#include <string>

namespace tessaro {

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the command line in the current folder and waits for it to end.
  // False when it could not be started.
  virtual bool RunAndWait(const std::string& commandLine) = 0;
};

}  // namespace tessaro
