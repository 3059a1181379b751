// package-check DIR: checks a package folder before it ships. Prints one
// line per problem ("file:line: error|warning: text") and exits 1 when any is
// an error, 0 otherwise (nothing printed for a clean package), 2 when DIR
// cannot be read.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

#include "package_check.h"

namespace fs = std::filesystem;
using namespace tessaro::package_check;

namespace {

// UTF-8 inside, as everywhere in the programs.
std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}
fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

class FolderSource : public PackageSource {
 public:
  explicit FolderSource(fs::path root) : root_(std::move(root)) {}

  std::optional<std::vector<Entry>> List(const std::string& folder) override {
    std::error_code error;
    const fs::path path = folder.empty() ? root_ : root_ / PathOf(folder);
    if (!fs::is_directory(path, error)) return std::nullopt;
    std::vector<Entry> entries;
    for (const auto& item : fs::directory_iterator(path, error)) {
      Entry entry;
      entry.name = Utf8(item.path().filename());
      entry.folder = item.is_directory(error);
      if (!entry.folder) entry.size = item.file_size(error);
#ifdef _WIN32
      const DWORD attributes = GetFileAttributesW(item.path().c_str());
      entry.hidden = attributes != INVALID_FILE_ATTRIBUTES &&
                     (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
#endif
      entries.push_back(entry);
    }
    return entries;
  }

  std::optional<std::string> Read(const std::string& path) override {
    std::ifstream in(root_ / PathOf(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

 private:
  fs::path root_;
};

int Run(const fs::path& root, bool usage) {
  if (usage) {
    std::fprintf(stderr, "usage: package-check DIR\n"
                         "Checks the package in DIR as the installer will read it.\n");
    return 2;
  }
  std::error_code error;
  if (!fs::is_directory(root, error)) {
    std::fprintf(stderr, "package-check: %s is not a folder\n", Utf8(root).c_str());
    return 2;
  }
  FolderSource source(root);
  bool failed = false;
  for (const Finding& finding : CheckPackage(source)) {
    std::printf("%s\n", FormatFinding(finding).c_str());
    failed = failed || finding.error;
  }
  return failed ? 1 : 0;
}

}  // namespace

#ifdef _WIN32
// The folder's name as Windows gives it (UTF-16), the report in UTF-8.
int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  const bool usage = argc != 2 || std::wstring(argv[1]) == L"--help" || std::wstring(argv[1]) == L"/?";
  return Run(usage ? fs::path() : fs::path(argv[1]), usage);
}
#else
int main(int argc, char** argv) {
  const bool usage = argc != 2 || std::string(argv[1]) == "--help";
  return Run(usage ? fs::path() : PathOf(argv[1]), usage);
}
#endif
