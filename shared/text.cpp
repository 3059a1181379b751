#include "text.h"

#include <array>
#include <cmath>

#include "decimal.h"
#include "errors.h"

namespace tessaro {

std::string TrimLeftBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string TrimRightBlanks(const std::string& text) {
  size_t last = text.find_last_not_of(' ');
  return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string TrimBlanks(const std::string& text) { return TrimRightBlanks(TrimLeftBlanks(text)); }

std::string FromCharPosition(const std::string& text, size_t position) {
  size_t i = 0;
  for (size_t skipped = 1; skipped < position && i < text.size(); ++skipped) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(i);
}

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five undefined bytes.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one code point at i and advances; malformed bytes come back as U+FFFD.
char32_t NextCodePoint(const std::string& s, size_t& i) {
  unsigned char b = static_cast<unsigned char>(s[i++]);
  if (b < 0x80) return b;
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
  if (extra < 0) return 0xFFFD;
  char32_t c = b & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
    c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
  }
  return c;
}

}  // namespace

std::string Cp1252ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) {
    char32_t c = b;
    if (b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80] != 0) c = kCp1252High[b - 0x80];
    AppendUtf8(out, c);
  }
  return out;
}

std::string Utf8ToCp1252(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = NextCodePoint(text, i);
    if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
      out += static_cast<char>(c);
      continue;
    }
    char mapped = '?';
    for (size_t k = 0; k < kCp1252High.size(); ++k)
      if (kCp1252High[k] == c) mapped = static_cast<char>(0x80 + k);
    if (c >= 0x80 && c < 0xA0 && kCp1252High[c - 0x80] == 0) mapped = static_cast<char>(c);
    out += mapped;
  }
  return out;
}

std::string UpperLatin(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = NextCodePoint(text, i);
    if (c >= 'a' && c <= 'z') {
      c -= 32;
    } else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
      c -= 32;
    } else if (c == 0xFF) {
      c = 0x178;
    } else if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 &&
               c != 0x149 && c != 0x17F) {
      // Latin Extended-A pairs: upper case on the even (or, from 0x139 to
      // 0x148 and 0x179 to 0x17E, the odd) code point.
      bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
      if (oddUpper ? (c % 2 == 0) : (c % 2 == 1)) c -= 1;
    } else if (c == 0x131) {
      c = 'I';
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string LowerLatin(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t c = NextCodePoint(text, i);
    if (c >= 'A' && c <= 'Z') {
      c += 32;
    } else if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
      c += 32;
    } else if (c == 0x178) {
      c = 0xFF;
    } else if (c == 0x130) {
      c = 'i';
    } else if (c >= 0x100 && c <= 0x17F && c != 0x131 && c != 0x138 && c != 0x149 &&
               c != 0x17F) {
      bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
      if (oddUpper ? (c % 2 == 1) : (c % 2 == 0)) c += 1;
    }
    AppendUtf8(out, c);
  }
  return out;
}

double LeadingNumber(const std::string& text) {
  std::string digits;
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  };
  skipBlanks();
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) digits += text[i++];
  bool seenPoint = false, seenDigit = false;
  for (;; ++i) {
    skipBlanks();
    if (i >= text.size()) break;
    char c = text[i];
    if (c >= '0' && c <= '9') {
      digits += c;
      seenDigit = true;
    } else if (c == '.' && !seenPoint) {
      digits += c;
      seenPoint = true;
    } else {
      break;
    }
  }
  if (seenDigit && i < text.size() &&
      (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    // Blanks inside the exponent are skipped as well: "1e 3" is 1000.
    std::string exponent = "e";
    i += 1;
    skipBlanks();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) exponent += text[i++];
    size_t start = exponent.size();
    for (skipBlanks(); i < text.size() && text[i] >= '0' && text[i] <= '9'; skipBlanks())
      exponent += text[i++];
    if (exponent.size() > start) digits += exponent;
  }
  if (!seenDigit) return 0.0;
  double value = 0;
  ReadDecimal(digits, value);
  return value;
}

std::string ZeroPadded(uint64_t value, size_t digits) {
  std::string text = std::to_string(value);
  return text.size() < digits ? std::string(digits - text.size(), '0') + text : text;
}

int32_t RoundToInt32(double value) {
  double r = std::nearbyint(value);  // default rounding mode: half to even
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw RuntimeError(err::Overflow, "Overflow");
  return static_cast<int32_t>(r);
}

std::string LineReader::ReadLine() {
  if (AtEnd()) throw RuntimeError(err::InputPastEnd, "Input past end of file");
  size_t end = text_.find_first_of("\r\n", pos_);
  if (end == std::string::npos) {
    std::string line = text_.substr(pos_);
    pos_ = text_.size();
    return line;
  }
  std::string line = text_.substr(pos_, end - pos_);
  pos_ = end + 1;
  if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  return line;
}

}  // namespace tessaro
