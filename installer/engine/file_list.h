#pragma once
// The package's file list Setup.ftc: one line per file, "name;folder" and a
// separator and a flag that allows replacing an existing copy.
#include <optional>
#include <string>

namespace tessaro {

// One entry of Setup.ftc, after its tokens were expanded.
struct FileListEntry {
  std::string name;    // in files\ and at the destination
  std::string folder;  // with its drive and a trailing "\"
  bool mayReplace = false;
};

// Splits an expanded Setup.ftc line: the name before the first ";", the
// folder after it less the line's last two characters (separator and flag),
// the flag a digit 1-9 for "may replace". A folder without ":" lies on
// `destinationDrive` ("D:"). Nothing for a line the run skips: no ";", ";"
// first, or too short to hold a separator and a flag after the ";".
std::optional<FileListEntry> ParseFileListLine(const std::string& line,
                                               const std::string& destinationDrive);

}  // namespace tessaro
