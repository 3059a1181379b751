#include "engine/deferred_replacement.h"

#include "services/special_folders.h"
#include "settings/helpers.h"
#include "settings/setup_folder.h"
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

std::string WininitPath(Services& sys) { return GetWindowsFolder(sys) + "\\wininit.ini"; }

// Adds "destination=temporary" to the [rename] section of the Windows
// folder's wininit.ini, which Windows 95/98/Me carry out at their next start.
// What was added is noted in `deferral`.
void AddRenameLine(Services& sys, const std::string& line, Deferral& deferral) {
  FileSystem& files = sys.files;
  const std::string path = WininitPath(sys);
  if (!files.GetAttributes(path)) {
    deferral.wininitCreated = true;
    deferral.wininitAdded =
        sys.platform.ToAnsi(std::string(texts::kRenameSection) + "\r\n" + line + "\r\n");
    files.WriteAll(path, deferral.wininitAdded);
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
  deferral.wininitAdded = sys.platform.ToAnsi(lines + line + "\r\n");
  files.Append(path, deferral.wininitAdded);
}

// Takes out of wininit.ini what AddRenameLine added: all of it while it still
// ends the file, else the line alone; a file the run made and left empty goes.
void RemoveRenameLine(Services& sys, const Deferral& deferral) {
  FileSystem& files = sys.files;
  const std::string path = WininitPath(sys);
  FileRead<std::string> bytes = files.ReadAll(path);
  if (!bytes) return;
  std::string text = *bytes;
  const std::string& added = deferral.wininitAdded;
  if (text.ends_with(added)) {
    text.erase(text.size() - added.size());
  } else {
    const std::string line =
        sys.platform.ToAnsi(deferral.destination + "=" + deferral.temporary + "\r\n");
    // A whole line only: at the start of the file or after a line break.
    size_t at = text.rfind(line);
    while (at != std::string::npos && at > 0 && text[at - 1] != '\n') at = text.rfind(line, at - 1);
    if (at == std::string::npos) return;
    text.erase(at, line.size());
  }
  if (text.empty() && deferral.wininitCreated)
    DeleteFileIfPresent(files, path);
  else
    files.WriteAll(path, text);
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
  Deferral deferral{temporary, destination, {}, false};
  AddRenameLine(cx.sys, destination + "=" + temporary, deferral);
  // NT-based Windows ignores wininit.ini; it keeps its own list of renames.
  if (IsNTPlatform(cx.sys.platform)) cx.sys.files.ReplaceAtRestart(temporary, destination);
  cx.state.Deferrals.push_back(std::move(deferral));
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

void TakeBackDeferrals(InstallerContext& cx) {
  // The last first: what each added to wininit.ini still ends the file then.
  for (auto it = cx.state.Deferrals.rbegin(); it != cx.state.Deferrals.rend(); ++it) {
    if (IsNTPlatform(cx.sys.platform))
      cx.sys.files.CancelReplaceAtRestart(it->temporary, it->destination);
    RemoveRenameLine(cx.sys, *it);
    DeleteFileIfPresent(cx.sys.files, it->temporary);
    Note(cx, "annullamento, non sarà sostituito al riavvio: " + it->destination);
  }
  cx.state.Deferrals.clear();
  cx.state.RestartNeeded = false;
}

}  // namespace tessaro
