#include "engine/file_list.h"

namespace tessaro {

namespace {

// Byte offset where the last `count` characters of a UTF-8 text begin, or
// npos when it holds fewer characters.
size_t StartOfLastChars(const std::string& text, size_t count) {
  size_t pos = text.size();
  for (size_t i = 0; i < count; ++i) {
    if (pos == 0) return std::string::npos;
    do {
      --pos;
    } while (pos > 0 && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80);
  }
  return pos;
}

}  // namespace

std::optional<FileListEntry> ParseFileListLine(const std::string& line,
                                               const std::string& destinationDrive) {
  const size_t semicolon = line.find(';');
  if (semicolon == std::string::npos || semicolon == 0) return std::nullopt;
  // Separator and flag are the last two characters, both after the ";".
  const size_t tail = StartOfLastChars(line, 2);
  if (tail == std::string::npos || tail <= semicolon) return std::nullopt;

  FileListEntry entry;
  entry.name = line.substr(0, semicolon);
  entry.folder = line.substr(semicolon + 1, tail - semicolon - 1);
  if (entry.folder.find(':') == std::string::npos) entry.folder = destinationDrive + entry.folder;
  if (entry.folder.empty() || entry.folder.back() != '\\') entry.folder += '\\';
  const char flag = line.back();
  entry.mayReplace = flag >= '1' && flag <= '9';
  return entry;
}

}  // namespace tessaro
