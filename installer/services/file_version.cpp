#include "services/file_version.h"

#include <optional>
#include <vector>

#include "settings/helpers.h"
#include "text.h"

namespace tessaro {

namespace {

// At most `count` characters of a UTF-8 text, never splitting one.
std::string FirstChars(const std::string& text, size_t count) {
  size_t i = 0;
  for (size_t taken = 0; i < text.size() && taken < count; ++taken) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}

}  // namespace

double GetFileVersionNumber(Services& sys, const std::string& path) {
  const std::vector<std::string> names(kVersionInfoNames.begin(), kVersionInfoNames.end());
  std::vector<std::optional<std::string>> values = sys.files.ReadVersionStrings(path, names);
  if (values.size() != names.size()) return 0;

  std::string fileVersion;
  for (size_t i = 0; i < names.size(); ++i) {
    if (!values[i]) return 0;
    std::string value = FirstChars(CutAtNul(*values[i] + '\0'), kVersionValueLength);
    if (names[i] == "FileVersion") fileVersion = value;
  }
  return LeadingNumber(fileVersion);
}

}  // namespace tessaro
