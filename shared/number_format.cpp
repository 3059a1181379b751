#include "number_format.h"

namespace tessaro {

namespace {
constexpr uint32_t kLocaleThousandsSeparator = 0x0F;  // LOCALE_STHOUSAND
}

std::string ThousandsSeparator(Platform& platform) {
  return platform.LocaleValue(kLocaleThousandsSeparator).value_or(",");
}

std::string FormatGrouped(int64_t value, const std::string& separator) {
  // Unsigned magnitude, so that the most negative value has one too.
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return value < 0 ? "-" + grouped : grouped;
}

std::string FormatGroupedOrBlank(int64_t value, const std::string& separator) {
  return value == 0 ? std::string() : FormatGrouped(value, separator);
}

}  // namespace tessaro
