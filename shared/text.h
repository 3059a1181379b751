#pragma once
// Text helpers on UTF-8 strings. Positions given to these helpers count
// characters (code points), as the package formats do.
#include <cstdint>
#include <string>

namespace tessaro {

// Blanks are spaces only; tabs and line breaks stay.
std::string TrimBlanks(const std::string& text);
std::string TrimLeftBlanks(const std::string& text);
std::string TrimRightBlanks(const std::string& text);

// The text from the 1-based character position on; empty past the end.
std::string FromCharPosition(const std::string& text, size_t position);

// Case folding of the ASCII letters only.
std::string UpperAscii(std::string text);

// Windows-1252 <-> UTF-8. Bytes the code page leaves undefined map to the C1
// control of the same number, so every byte survives a round trip.
std::string Cp1252ToUtf8(const std::string& bytes);
std::string Utf8ToCp1252(const std::string& text);

// Upper case for Latin-1 and Latin Extended-A, as Windows does it for the
// letters of Western European languages.
std::string UpperLatin(const std::string& text);
// Lower case over the same range, the mirror of UpperLatin.
std::string LowerLatin(const std::string& text);

// The leading number of a text, read as the classic BASIC Val does: blanks,
// tabs and line feeds are skipped anywhere in it, an optional sign, digits,
// a decimal point and an exponent; reading stops at the first other character.
double LeadingNumber(const std::string& text);

// The decimal digits of `value` with leading zeros up to `digits` characters
// (printf's "%03u"); more digits when the number needs them.
std::string ZeroPadded(uint64_t value, size_t digits);

// Rounds half to even into a signed 32-bit integer; throws RuntimeError 6
// (overflow) when it does not fit.
int32_t RoundToInt32(double value);

// Reads a text line by line. A line ends at CR LF, CR or LF; the end of the
// text after a line break is the end of the file, so "a\r\n" is one line.
class LineReader {
 public:
  explicit LineReader(std::string text) : text_(std::move(text)) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  // Throws RuntimeError 62 (input past end of file) at the end.
  std::string ReadLine();

 private:
  std::string text_;
  size_t pos_ = 0;
};

}  // namespace tessaro
