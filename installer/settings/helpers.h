#pragma once
// General helpers of the installer: starting a program and waiting for it, and
// the adjustment of the user's regional settings. (The path splitters live in
// shared/path_split.h, built into the backup program too.)
#include <cstdint>
#include <optional>
#include <string>

#include "seams/platform.h"
#include "seams/processes.h"

namespace tessaro {

// LCTYPE numbers of the regional settings the installer adjusts.
namespace lctype {
constexpr uint32_t ShortDate = 0x1F;        // LOCALE_SSHORTDATE
constexpr uint32_t Currency = 0x14;         // LOCALE_SCURRENCY
constexpr uint32_t CurrencyDigits = 0x19;   // LOCALE_ICURRDIGITS
constexpr uint32_t MoneyDecimalSep = 0x16;  // LOCALE_SMONDECIMALSEP
}  // namespace lctype

// Starts the command line in the current folder and waits for it to end.
// A program that cannot be started is passed over in silence.
std::optional<uint32_t> RunAndWait(Processes& processes, const std::string& commandLine);

// True on the Windows NT platform.
bool IsNTPlatform(Platform& platform);

// A system program named by its full path in `folder`, quoted when the path
// has a blank. Started by bare name from an elevated installer, a program of
// that name beside the package or in the current folder would run instead.
std::string SystemProgram(const std::string& folder, const std::string& name);

// The text before its first NUL; empty when it holds none, which is what a
// buffer that Windows did not fill looks like.
std::string CutAtNul(const std::string& text);

// Puts the user's locale in order for the application, for good: a four-digit
// year in the short date, the euro as currency with at least two decimals and
// "," as its decimal separator. Every failure is ignored.
void AdjustRegionalSettings(Platform& platform);

}  // namespace tessaro
