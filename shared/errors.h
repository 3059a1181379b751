#pragma once
// Run-time errors carry the numbers the programs test and report
// (6 overflow, 53 file not found, 62 input past end of file, 58, 70, 75 ...).
#include <stdexcept>
#include <string>

namespace tessaro {

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& description)
      : std::runtime_error(description), number_(number) {}
  int Number() const { return number_; }

 private:
  int number_;
};

namespace err {
constexpr int Overflow = 6;
constexpr int FileNotFound = 53;
constexpr int InputPastEnd = 62;
constexpr int PathNotFound = 76;
}  // namespace err

}  // namespace tessaro
