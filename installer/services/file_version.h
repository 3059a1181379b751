#pragma once
// The version number of a program or library, as the per-file install step
// compares it: the leading number of the "FileVersion" string of its version
// resource.
#include <array>
#include <string>

#include "seams/services.h"

namespace tessaro {

// The strings every usable version resource must hold, in the order they are
// read. Only "FileVersion" makes the number; a file whose first translation
// lacks any of the others has no usable version information.
inline constexpr std::array<const char*, 8> kVersionInfoNames = {
    "CompanyName",    "FileDescription",  "FileVersion", "InternalName",
    "LegalCopyright", "OriginalFileName", "ProductName", "ProductVersion"};

// Longest value kept of each string (a longer one is cut to this many
// characters, as a fixed 255-byte field with its NUL would hold it).
inline constexpr size_t kVersionValueLength = 254;

// The leading number of "FileVersion": 4.71.1712.5 gives 4.71, "3, 51, 0, 2"
// gives 3. 0 when the file has no usable version information; every failure
// is silent.
double GetFileVersionNumber(Services& sys, const std::string& path);

}  // namespace tessaro
