// The text helpers of shared/text.cpp. Rules: Windows-1252 -> UTF-8 ->
// Windows-1252 gives back every byte, through valid UTF-8 of one character
// per byte; UTF-8 text made only of characters 1252 holds comes back from
// 1252 unchanged; the leading number ignores blanks, tabs and line feeds
// wherever they stand, and a minus sign in front negates it; lines read back
// are the text without its line breaks, one per break.
#include <cmath>
#include <set>

#include "errors.h"
#include "fuzz_support.h"
#include "text.h"

using namespace tessaro;
using namespace tessaro::fuzz;

namespace {

// Strict UTF-8: shortest forms, no surrogates, nothing past U+10FFFF. The
// code points go to `out`.
bool DecodeUtf8(const std::string& s, std::vector<char32_t>& out) {
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80             ? 0
                : (b & 0xE0) == 0xC0 ? 1
                : (b & 0xF0) == 0xE0 ? 2
                : (b & 0xF8) == 0xF0 ? 3
                                     : -1;
    if (extra < 0 || s.size() - i <= static_cast<size_t>(extra)) return false;
    char32_t c = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto n = static_cast<unsigned char>(s[i + k]);
      if ((n & 0xC0) != 0x80) return false;
      c = (c << 6) | (n & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    out.push_back(c);
    i += extra + 1;
  }
  return true;
}

// The characters Windows-1252 gives its bytes 0x80-0x9F; the five bytes it
// leaves undefined stand for the C1 controls of the same number.
const std::set<char32_t> kHighCharacters = {
    0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0x017E, 0x0178, 0x81,   0x8D,   0x8F,   0x90,   0x9D};

bool In1252(char32_t c) { return c < 0x80 || (c >= 0xA0 && c <= 0xFF) || kHighCharacters.count(c); }

void CheckCodePage(const std::string& bytes) {
  const std::string utf8 = Cp1252ToUtf8(bytes);
  std::vector<char32_t> decoded;
  FUZZ_CHECK(DecodeUtf8(utf8, decoded));
  FUZZ_CHECK(decoded.size() == bytes.size());
  for (char32_t c : decoded) FUZZ_CHECK(In1252(c));
  FUZZ_CHECK(Utf8ToCp1252(utf8) == bytes);

  // The same bytes read as UTF-8.
  std::vector<char32_t> asText;
  if (DecodeUtf8(bytes, asText)) {
    const std::string ansi = Utf8ToCp1252(bytes);
    FUZZ_CHECK(ansi.size() == asText.size());
    bool representable = true;
    for (char32_t c : asText) representable = representable && In1252(c);
    if (representable) FUZZ_CHECK(Cp1252ToUtf8(ansi) == bytes);
  }
}

bool Same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

void CheckLeadingNumber(const std::string& text) {
  const double number = LeadingNumber(text);
  std::string packed;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') packed += c;
  FUZZ_CHECK(Same(LeadingNumber(packed), number));
  if (!packed.empty() && packed[0] >= '0' && packed[0] <= '9')
    FUZZ_CHECK(Same(LeadingNumber("-" + text), -number));
}

void CheckLines(const std::string& text) {
  LineReader reader(text);
  std::string joined;
  size_t lines = 0;
  while (!reader.AtEnd()) {
    const std::string line = reader.ReadLine();
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    joined += line;
    ++lines;
  }
  std::string unbroken;
  for (char c : text)
    if (c != '\r' && c != '\n') unbroken += c;
  FUZZ_CHECK(joined == unbroken);
  FUZZ_CHECK(lines == SplitLines(text).size());
  bool ended = false;
  try {
    reader.ReadLine();
  } catch (const RuntimeError& e) {
    ended = e.Number() == err::InputPastEnd;
  }
  FUZZ_CHECK(ended);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = Bytes(data, size);
  CheckCodePage(bytes);
  CheckLeadingNumber(bytes);
  CheckLines(bytes);
  return 0;
}
