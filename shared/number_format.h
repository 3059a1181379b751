#pragma once
// Whole numbers grouped in thousands with the user's separator, as the
// "###,###,###,##0" and "#,###" formats show them.
#include <cstdint>
#include <string>

#include "seams/platform.h"

namespace tessaro {

// The user's thousands separator (LOCALE_STHOUSAND); "," when the locale
// does not say.
std::string ThousandsSeparator(Platform& platform);

// "###,###,###,##0": grouped, at least one digit (0 shows as "0").
std::string FormatGrouped(int64_t value, const std::string& separator);
// "#,###": grouped the same way, but 0 shows as nothing.
std::string FormatGroupedOrBlank(int64_t value, const std::string& separator);

}  // namespace tessaro
