#include "engine/file_times.h"

#include "text.h"

namespace tessaro {

namespace {

constexpr uint32_t kLocaleDateSeparator = 0x1D;  // LOCALE_SDATE
constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr uint64_t kSecondsPerDay = 86'400;

struct CivilDate {
  int64_t year;
  unsigned month, day;
};

// Gregorian date of a day count from 1 January 1970 (Howard Hinnant's
// civil_from_days).
CivilDate DateFromDays(int64_t days) {
  days += 719'468;
  const int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146'097);
  const unsigned yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

}  // namespace

std::string FileTimeText(Platform& platform, uint64_t fileTime) {
  // FileTimeToSystemTime refuses times with the top bit set.
  if (fileTime >= (uint64_t{1} << 63)) return {};
  const uint64_t seconds = fileTime / kTicksPerSecond;
  const uint64_t secondOfDay = seconds % kSecondsPerDay;
  constexpr int64_t kDays1601To1970 = 134'774;
  const CivilDate date =
      DateFromDays(static_cast<int64_t>(seconds / kSecondsPerDay) - kDays1601To1970);
  const std::string separator = platform.LocaleValue(kLocaleDateSeparator).value_or("/");

  // The year of a time below 2^63 lies between 1601 and 30828.
  return ZeroPadded(date.day, 2) + separator + ZeroPadded(date.month, 2) + separator +
         ZeroPadded(static_cast<uint64_t>(date.year), 4) + " " +
         std::to_string(secondOfDay / 3600) + "." + std::to_string(secondOfDay / 60 % 60) + "." +
         std::to_string(secondOfDay % 60);
}

std::string LastWriteText(Services& sys, const std::string& path) {
  auto times = sys.files.GetTimes(path);
  return FileTimeText(sys.platform, times ? times->lastWrite : 0);
}

void StampInstallerTimes(Services& sys, const std::string& path) {
  // The installed files carry the installer's times, which the uninstall
  // script records on its ";[REMOVE]" line.
  auto times = sys.files.GetTimes(sys.platform.ProgramPath());
  if (times) sys.files.SetTimes(path, *times);
}

}  // namespace tessaro
