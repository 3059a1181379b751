// ReplaceWelcomeMarkers. The input gives the application's name and the
// welcome text, separated by NUL, decoded from the ANSI code page. Rules:
// no "@" of the text is left (for a name without one); apart from blanks the
// result is the text with each "@" turned into the name; and it is what the
// marker-by-marker rewrite gives: the text before the marker trimmed at both
// ends, one blank, the name, the rest trimmed at its end, the next search
// starting after the name.
#include "fuzz_support.h"
#include "text.h"
#include "wizard/startup.h"

using namespace tessaro;
using namespace tessaro::fuzz;

namespace {

std::string WithoutBlanks(std::string text) {
  std::erase(text, ' ');
  return text;
}

std::string Rewrite(std::string text, const std::string& name) {
  for (size_t at = text.find('@'); at != std::string::npos;) {
    const std::string before = TrimBlanks(text.substr(0, at)) + " " + name;
    text = before + TrimRightBlanks(text.substr(at + 1));
    at = text.find('@', before.size());
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> f = Fields(Bytes(data, size), '\0', 2);
  const std::string name = Cp1252ToUtf8(f[0]);
  const std::string text = Cp1252ToUtf8(f[1]);
  const std::string result = ReplaceWelcomeMarkers(text, name);

  if (name.find('@') == std::string::npos) FUZZ_CHECK(result.find('@') == std::string::npos);
  std::string expected;
  for (char c : WithoutBlanks(text)) expected += c == '@' ? WithoutBlanks(name) : std::string(1, c);
  FUZZ_CHECK(WithoutBlanks(result) == expected);
  FUZZ_CHECK(result == Rewrite(text, name));
  return 0;
}
