#include "settings/helpers.h"

#include "text.h"

namespace tessaro {

bool IsNTPlatform(Platform& platform) { return platform.IsNT(); }

std::string SystemProgram(const std::string& folder, const std::string& name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path += '\\';
  path += name;
  return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

std::optional<uint32_t> RunAndWait(Processes& processes, const std::string& commandLine) {
  // The run does not act on the outcome: a program that did not start simply
  // leaves nothing to wait for. The exit code is told to the transcript.
  return processes.RunAndWait(commandLine);
}

std::string CutAtNul(const std::string& text) {
  size_t nul = text.find('\0');
  return nul == std::string::npos ? std::string() : text.substr(0, nul);
}

namespace {

// A locale value as it would sit in the call's buffer: the text and its
// terminator when the read succeeded, nothing at all when it failed.
std::string ReadLocale(Platform& platform, uint32_t type) {
  std::optional<std::string> value = platform.LocaleValue(type);
  return CutAtNul(value ? *value + '\0' : std::string());
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

void AdjustRegionalSettings(Platform& platform) {
  // A two-digit year would make the application's dates ambiguous.
  if (!EndsWith(ReadLocale(platform, lctype::ShortDate), "yyy"))
    platform.SetLocaleValue(lctype::ShortDate, "dd/MM/yyyy");

  const std::string euro = "\xE2\x82\xAC";  // U+20AC
  if (ReadLocale(platform, lctype::Currency).find(euro) == std::string::npos)
    platform.SetLocaleValue(lctype::Currency, euro);

  if (LeadingNumber(ReadLocale(platform, lctype::CurrencyDigits)) < 2)
    platform.SetLocaleValue(lctype::CurrencyDigits, "2");

  platform.SetLocaleValue(lctype::MoneyDecimalSep, ",");
}

}  // namespace tessaro
