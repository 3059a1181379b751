#pragma once
// Run-time errors carry the numbers the programs test and report
// (6 overflow, 53 file not found, 62 input past end of file, 58, 70, 75 ...).
#include <exception>
#include <string>

namespace tessaro {

// A std::exception that keeps its own text: std::runtime_error would bring
// the C++ runtime's old reference-counted string into the programs.
class RuntimeError : public std::exception {
 public:
  RuntimeError(int number, const std::string& description)
      : number_(number), description_(description) {}
  int Number() const { return number_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  int number_;
  std::string description_;
};

namespace err {
constexpr int Overflow = 6;
constexpr int FileNotFound = 53;
constexpr int FileAlreadyExists = 58;
constexpr int InputPastEnd = 62;
constexpr int PathFileAccess = 75;
constexpr int PathNotFound = 76;
// The automation error a failing shell component reports (E_FAIL).
constexpr int Automation = static_cast<int>(0x80004005u);
}  // namespace err

// Error 75 for a file the program cannot go on without writing.
inline RuntimeError PathFileAccessError(const std::string& path) {
  return RuntimeError(err::PathFileAccess, "Path/File access error: " + path);
}

}  // namespace tessaro
