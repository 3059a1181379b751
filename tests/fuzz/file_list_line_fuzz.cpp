// One Setup.ftc line, decoded from the ANSI code page as the run reads it,
// split by ParseFileListLine for a destination on D:. Rules: a line is
// skipped exactly when it has no ";", starts with one, or has fewer than two
// characters after it; otherwise the name is the text before the first ";",
// the folder always holds a drive (or a ":") and ends in "\", and the line is
// name, ";", the folder as written and two last characters, the last of
// which, a digit 1 to 9, allows replacing.
#include "engine/file_list.h"
#include "fuzz_support.h"
#include "text.h"

using namespace tessaro;
using namespace tessaro::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line = Cp1252ToUtf8(Bytes(data, size));
  const auto entry = ParseFileListLine(line, "D:");

  const size_t semicolon = line.find(';');
  const bool skipped = semicolon == std::string::npos || semicolon == 0 ||
                       CodePoints(std::string_view(line).substr(semicolon + 1)) < 2;
  FUZZ_CHECK(entry.has_value() != skipped);
  if (!entry) return 0;

  FUZZ_CHECK(entry->name == line.substr(0, semicolon));
  FUZZ_CHECK(!entry->folder.empty() && entry->folder.back() == '\\');
  FUZZ_CHECK(entry->folder.find(':') != std::string::npos);
  const char flag = line.back();
  FUZZ_CHECK(entry->mayReplace == (flag >= '1' && flag <= '9'));

  // The folder as written: the folder found, maybe without the drive put in
  // front and the "\" put at the end. It is followed by exactly two characters.
  const std::string rest = line.substr(semicolon + 1);
  std::string written = entry->folder;
  bool found = false;
  for (int drive = 0; drive < 2 && !found; ++drive) {
    std::string candidate = written;
    if (drive == 1) {
      if (candidate.compare(0, 2, "D:") != 0) break;
      candidate.erase(0, 2);
      // The drive is put in front only of a folder without ":".
      if (candidate.find(':') != std::string::npos) break;
    }
    for (int slash = 0; slash < 2 && !found; ++slash) {
      if (slash == 1) candidate.pop_back();
      found = rest.compare(0, candidate.size(), candidate) == 0 &&
              CodePoints(std::string_view(rest).substr(candidate.size())) == 2 &&
              (rest.size() == candidate.size() ||
               (static_cast<unsigned char>(rest[candidate.size()]) & 0xC0) != 0x80);
      if (found && drive == 0 && candidate.find(':') == std::string::npos) found = false;
    }
  }
  FUZZ_CHECK(found);
  return 0;
}
