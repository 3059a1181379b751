#include "engine/deferred_replacement.h"

#include "services/special_folders.h"
#include "settings/helpers.h"
#include "text.h"
#include "text_files.h"
#include "texts.h"

namespace tessaro {

namespace {

// The last section header of an ini text, upper case; empty without one.
std::string LastSection(const std::string& text) {
  std::string section;
  LineReader reader(text);
  while (!reader.AtEnd()) {
    std::string line = TrimBlanks(reader.ReadLine());
    if (!line.empty() && line[0] == '[') section = UpperAscii(line);
  }
  return section;
}

// Adds "destination=temporary" to the [rename] section of the Windows
// folder's wininit.ini, which Windows 95/98/Me carry out at their next start.
void AddRenameLine(Services& sys, const std::string& line) {
  FileSystem& files = sys.files;
  const std::string path = GetWindowsFolder(sys) + "\\wininit.ini";
  if (!files.GetAttributes(path)) {
    WriteTextLines(files, sys.platform, path, {texts::kRenameSection, line});
    return;
  }
  // The line is meant to end the [rename] section: a file that ends in
  // another section (or has none) gets the header again, and a last line
  // without its line break gets one, so the new line stays a line of its own.
  std::string lines;
  if (auto bytes = files.ReadAll(path)) {
    const std::string text = sys.platform.FromAnsi(*bytes);
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') lines += "\r\n";
    if (LastSection(text) != UpperAscii(texts::kRenameSection))
      lines += std::string(texts::kRenameSection) + "\r\n";
  }
  files.Append(path, sys.platform.ToAnsi(lines + line + "\r\n"));
}

}  // namespace

std::string NextFreeNumberedName(FileSystem& files, const std::string& path) {
  // Start of the last six characters (UTF-8 continuation bytes do not count).
  size_t start = path.size();
  for (int characters = 0; start > 0 && characters < 6;) {
    --start;
    if ((static_cast<unsigned char>(path[start]) & 0xC0) != 0x80) ++characters;
  }
  const size_t dot = path.find('.', start);
  const size_t slash = path.rfind('\\');
  // A "." that belongs to a folder, or none at all, would put the copy
  // elsewhere (in the current folder without a "."): extend the name instead.
  const std::string base = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                               ? path.substr(0, dot + 1)
                               : path + ".";
  for (unsigned number = 0;; ++number) {
    const std::string candidate = base + ZeroPadded(number, 3);
    if (!files.GetAttributes(candidate)) return candidate;
  }
}

bool NeverDeferred(const std::string& source) {
  return source.find("URLMON.DLL") != std::string::npos ||
         source.find("WININET.DLL") != std::string::npos;
}

bool ReplaceAtNextStart(InstallerContext& cx, const std::string& temporary,
                        const std::string& destination) {
  AddRenameLine(cx.sys, destination + "=" + temporary);
  // NT-based Windows ignores wininit.ini; it keeps its own list of renames.
  if (IsNTPlatform(cx.sys.platform)) cx.sys.files.ReplaceAtRestart(temporary, destination);
  cx.state.RestartNeeded = true;
  Note(cx, "al riavvio: " + destination + " (in uso; sarà sostituito da " + temporary +
               " al prossimo avvio di Windows)");
  return false;
}

bool DeferToRestart(InstallerContext& cx, const std::string& source,
                    const std::string& destination) {
  if (NeverDeferred(source)) {
    Note(cx, "non sostituito: " + destination + " (in uso; è una libreria di Internet Explorer)");
    return false;
  }
  FileSystem& files = cx.sys.files;
  const std::string temporary = NextFreeNumberedName(files, destination);
  // Without the temporary copy there is nothing to put in place.
  if (!files.Copy(source, temporary)) {
    Note(cx, "non copiato: " + destination + " (in uso, e la copia " + temporary +
                 " non è riuscita)");
    return false;
  }
  return ReplaceAtNextStart(cx, temporary, destination);
}

}  // namespace tessaro
