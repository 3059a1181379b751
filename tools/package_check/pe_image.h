#pragma once
// What a Windows program or library file says of itself in its headers: the
// facts package-check needs about the package's components.
#include <string>
#include <vector>

namespace tessaro::package_check {

struct PeFacts {
  std::string problem;  // empty for a readable PE file
  bool x86 = false;     // machine i386
  bool pe32 = false;    // 32-bit optional header (PE32, not PE32+)
  bool dll = false;     // a library rather than a program
  std::vector<std::string> exports;  // exported names
};

PeFacts ReadPeFacts(const std::string& bytes);

}  // namespace tessaro::package_check
