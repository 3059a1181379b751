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
  // Starts the command line in the current folder and returns at once; with
  // `minimized` its window opens minimized and takes the focus. False when it
  // could not be started.
  virtual bool Start(const std::string& commandLine, bool minimized) = 0;
};

}  // namespace tessaro
