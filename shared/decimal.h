#pragma once

#include <cstddef>
#include <string_view>

namespace tessaro {

// Reads the decimal number at the start of `text` the way strtod does in the
// C locale, leading white space aside: an optional sign, digits with at most
// one decimal point (one digit at least), then an optional exponent ("e" or
// "E", an optional sign, digits; left unread when no digit follows). `value`
// becomes the double nearest to the number, ties to even, as strtod gives
// it: infinity when it is too large, zero or a subnormal when too small.
// Returns how many characters were read; 0, with `value` 0, when there is
// no number. Hexadecimal numbers, "inf" and "nan" are not read: the programs'
// texts never hold them.
//
// Our own, because the C library's strtod brings about 20 KB of general
// conversion code into the programs.
size_t ReadDecimal(std::string_view text, double& value);

}  // namespace tessaro
