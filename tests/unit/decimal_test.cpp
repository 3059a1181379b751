#include "decimal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "text.h"

namespace tessaro {
namespace {

// The native C library's strtod rounds correctly: ours must give the very
// same bits and stop at the same character.
void ExpectAsStrtod(const std::string& text) {
  double ours = -1;
  const size_t read = ReadDecimal(text, ours);
  char* end = nullptr;
  const double theirs = std::strtod(text.c_str(), &end);
  EXPECT_EQ(read, static_cast<size_t>(end - text.c_str())) << text.substr(0, 80);
  EXPECT_EQ(std::memcmp(&ours, &theirs, sizeof ours), 0)
      << text.substr(0, 80) << ": " << ours << " against " << theirs;
}

// 2^-1075, half of the smallest subnormal, written out in full.
std::string HalfOfSmallestSubnormal() {
  std::string digits = "1";  // 5^1075, lowest digit first
  for (int i = 0; i < 1075; ++i) {
    int carry = 0;
    for (char& d : digits) {
      const int v = (d - '0') * 5 + carry;
      d = static_cast<char>('0' + v % 10);
      carry = v / 10;
    }
    for (; carry; carry /= 10) digits += static_cast<char>('0' + carry % 10);
  }
  return "0." + std::string(1075 - digits.size(), '0') +
         std::string(digits.rbegin(), digits.rend());
}

TEST(ReadDecimal, GivesTheBitsAndLengthStrtodGivesOnTheHardCases) {
  const std::string halfUlpAboveOne = "1.00000000000000011102230246251565404236316680908203125";
  const std::string tiny = HalfOfSmallestSubnormal();
  for (const std::string& text :
       {std::string("0"), std::string("-0"), std::string("+.5"), std::string("5."),
        std::string("00012.5000e-1"), std::string("2.5"), std::string("0.1"),
        std::string("9007199254740993"), std::string("123456789012345678901234567890"),
        std::string("1.7976931348623157e308"), std::string("1.7976931348623158e308"),
        std::string("2e308"), std::string("1e99999999999999999999"),
        std::string("2.2250738585072011e-308"), std::string("4.9e-324"), std::string("1e-400"),
        std::string("-1e-99999999999"), halfUlpAboveOne, halfUlpAboveOne + "0000001",
        halfUlpAboveOne + std::string(1000, '0') + "1", halfUlpAboveOne + std::string(1000, '0'),
        tiny, tiny + "1", tiny.substr(0, tiny.size() - 1),
        // where reading stops
        std::string("12abc"), std::string("1e"), std::string("1e+"), std::string("3E-2x"),
        std::string("1.2.3"), std::string("."), std::string("-"), std::string("+.e3"),
        std::string("x1"), std::string("")})
    ExpectAsStrtod(text);
}

TEST(ReadDecimal, GivesTheBitsStrtodGivesOnRandomNumbers) {
  std::mt19937 random(2026);
  for (int n = 0; n < 20000; ++n) {
    std::string text = random() % 4 ? "" : random() % 2 ? "-" : "+";
    const int digits = 1 + static_cast<int>(random() % (n % 10 ? 20 : 900));
    const int point = static_cast<int>(random() % (digits + 1));
    for (int i = 0; i < digits; ++i) {
      if (i == point) text += '.';
      text += static_cast<char>('0' + random() % 10);
    }
    if (random() % 2) text += (random() % 2 ? "e-" : "E") + std::to_string(random() % 340);
    ExpectAsStrtod(text);
  }
}

TEST(LeadingNumber, ReadsTheNumberThroughBlanksAndStopsAtTheFirstOtherCharacter) {
  EXPECT_EQ(LeadingNumber("  4.0.1381"), 4.0);
  EXPECT_EQ(LeadingNumber("1 234,5"), 1234.0);
  EXPECT_EQ(LeadingNumber("-\t2.5d 2 ms"), -250.0);
  EXPECT_EQ(LeadingNumber("1e"), 1.0);
  EXPECT_EQ(LeadingNumber("5.10"), LeadingNumber("5.1"));
  EXPECT_EQ(LeadingNumber("abc"), 0.0);
  EXPECT_EQ(LeadingNumber("2147483647"), 2147483647.0);
}

}  // namespace
}  // namespace tessaro
