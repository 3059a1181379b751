#pragma once
// File times as the installer writes and compares them: the timestamp text of
// Uninstall.ini and the date rule for databases, and the stamping of every
// installed file with the installer's own times.
#include <cstdint>
#include <string>

#include "seams/services.h"

namespace tessaro {

// "DD/MM/YYYY h.m.s" of a file time taken as it is stored (UTC, not made
// local): day and month with two digits, the user's date separator in place
// of "/", hour, minute and second without leading zeros ("07/12/1998 9.5.0").
// Empty for a time Windows cannot turn into a date (at or past 2^63).
std::string FileTimeText(Platform& platform, uint64_t fileTime);

// FileTimeText of the file's last-write time; a file that cannot be read
// gives the zero time, "01/01/1601 0.0.0".
std::string LastWriteText(Services& sys, const std::string& path);

// Gives the file the creation, last-access and last-write times of the
// running installer's program file. Failures are ignored.
void StampInstallerTimes(Services& sys, const std::string& path);

}  // namespace tessaro
