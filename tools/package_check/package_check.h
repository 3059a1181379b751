#pragma once
// package-check: every problem the installer would meet in a package, found
// on the maker's machine. The package's files are read with the installer's
// own readers (Setup.dip positions, Setup.ftc lines, placeholder names), so
// the checker and the installer cannot disagree on what a file says.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaro::package_check {

// One entry of a folder of the package.
struct Entry {
  std::string name;
  bool folder = false;
  bool hidden = false;  // hidden or system: the installer does not see it
  uint64_t size = 0;
};

// The package as the checker sees it: the setup folder ("") and "files".
class PackageSource {
 public:
  virtual ~PackageSource() = default;
  // Nothing when the folder is missing.
  virtual std::optional<std::vector<Entry>> List(const std::string& folder) = 0;
  // The file's bytes; "files\\x" for a file in files\.
  virtual std::optional<std::string> Read(const std::string& path) = 0;
};

struct Finding {
  std::string file;  // "Setup.dip", "files\\guida.txt" ...
  int line = 0;      // 1-based; 0 for the file as a whole
  bool error = true;
  std::string text;
};

// "file:line: error|warning: text" (the line left out when 0).
std::string FormatFinding(const Finding& finding);

// Every finding, file by file in the order the installer reads them.
std::vector<Finding> CheckPackage(PackageSource& package);

}  // namespace tessaro::package_check
