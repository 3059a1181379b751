#include "engine/destination.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "box_title.h"
#include "path_split.h"
#include "text.h"
#include "texts.h"

namespace tessaro {

namespace {

std::string WithFinalBackslash(const std::string& path) {
  return !path.empty() && path.back() == '\\' ? path : path + "\\";
}

void Warn(InstallerContext& cx, const char* text) {
  cx.sys.ui.ShowMessage(text, BoxTitle(cx), MsgIcon::Exclamation, MsgButtons::Ok);
}

// The drive is the text before a ":" that must be the path's second
// character (not byte: a non-ASCII first letter is one character too).
bool ColonIsSecondCharacter(const std::string& path) {
  size_t colon = path.find(':');
  if (colon == std::string::npos) return false;
  size_t characters = 0;
  for (size_t i = 0; i < colon; ++i)
    if ((static_cast<unsigned char>(path[i]) & 0xC0) != 0x80) ++characters;
  return characters == 1;
}

// The folder names of a path, as split at its "\" (and, for a program
// group, "/", which Windows takes for the same).
std::vector<std::string> PartsOf(const std::string& path, const char* separators) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = path.find_first_of(separators, start);
    parts.push_back(path.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

bool HasControlCharacter(const std::string& text) {
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

// A folder name that is not the folder it looks like: "." and ".." climb out
// of the path shown, Windows drops a final "." or blank (so "Dati." makes
// "Dati"), and a device name opens the device.
bool IsMisleadingFolderName(const std::string& part) {
  return (!part.empty() && (part.back() == '.' || part.back() == ' ')) || IsDeviceName(part);
}

// Files a user would lose by installing over them: subfolders and hidden or
// system files do not count.
bool HoldsOrdinaryFiles(FileSystem& files, const std::string& folder) {
  for (const DirEntry& entry : files.List(folder + "\\*.*"))
    if ((entry.attributes & (attr::Directory | attr::Hidden | attr::System)) == 0) return true;
  return false;
}

// The checks after normalisation, in order; the first that fails rejects.
// `rejected` holds the verdict reached so far, for the caller to use when
// something unexpected breaks off the checks.
void CheckDestination(InstallerContext& cx, const std::string& path, bool& rejected) {
  UserInterface& ui = cx.sys.ui;
  rejected = true;
  if (!ColonIsSecondCharacter(path)) {
    ui.Beep();
    Warn(cx, texts::kNoDrive);
    return;
  }
  const std::string afterDrive = FromCharPosition(path, 3);
  // The drive's ":" is the only one allowed, and no control character. The
  // text must also come back unchanged from the ANSI code page of
  // Uninstall.Tmp, Uninstall.ini and Settings.reg: a folder written there as
  // another one ("Łódź" as "Lodz") would have a cancel or the uninstaller
  // delete elsewhere.
  Platform& platform = cx.sys.platform;
  if (afterDrive.find_first_of("/:*?\"<>|") != std::string::npos || HasControlCharacter(path) ||
      platform.FromAnsi(platform.ToAnsi(path)) != path) {
    ui.Beep();
    Warn(cx, texts::kForbiddenCharacters);
    return;
  }
  // The drive, then its root: "C:Dati" would name a folder below drive C's
  // current folder (for the installer, the setup folder), not C:\Dati.
  if (!afterDrive.empty() && afterDrive[0] != '\\') {
    ui.Beep();
    Warn(cx, texts::kNoDrive);
    return;
  }
  if (path.find("\\\\") != std::string::npos) {
    ui.Beep();
    Warn(cx, texts::kNetworkPath);
    return;
  }
  // Every folder name below the root (the root alone, "C:", has none).
  if (!afterDrive.empty()) {
    const std::vector<std::string> folders = PartsOf(afterDrive.substr(1), "\\");
    if (std::any_of(folders.begin(), folders.end(), IsMisleadingFolderName)) {
      ui.Beep();
      Warn(cx, texts::kBadFolderName);
      return;
    }
  }

  if (EnsureFolder(cx, path, false, true)) {
    rejected = false;
    if (!HoldsOrdinaryFiles(cx.sys.files, path)) return;
    ui.Beep();
    // Unattended, the folder the administrator named is the one to use.
    if (ui.Ask(texts::kFolderHoldsFiles, BoxTitle(cx), MsgIcon::Exclamation, MsgButtons::YesNo,
               MsgAnswer::Yes) == MsgAnswer::Yes)
      return;
    rejected = true;
    Warn(cx, texts::kChooseAnotherPath);
    return;
  }

  if (ui.Ask(texts::kCreateMissingFolder, BoxTitle(cx), MsgIcon::Question, MsgButtons::YesNo,
             MsgAnswer::Yes) == MsgAnswer::Yes) {
    // A folder that cannot be made has been reported by CreateFolderPath.
    rejected = !EnsureFolder(cx, path, true, true);
    return;
  }
  Warn(cx, texts::kChooseAnotherPath);
}

}  // namespace

bool ValidateDestination(InstallerContext& cx, std::string& path) {
  bool rejected = true;
  try {
    path = TrimBlanks(path);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    CheckDestination(cx, path, rejected);
  } catch (const std::exception&) {
    // The program's end is not an exception of this kind and passes through.
    cx.sys.ui.Beep();
    Warn(cx, texts::kBadPathOrError);
  }
  return rejected;
}

bool ValidateProgramGroup(InstallerContext& cx, const std::string& group) {
  // The group is a folder below the Programs folder, perhaps a nested one
  // ("Ufficio\Archivio"), and must stay there: no drive, no path from a
  // root, no "." or ".." (nor "..." and the like), no device name.
  auto leavesTheGroup = [](const std::string& part) {
    return (!part.empty() && part.find_first_not_of('.') == std::string::npos) ||
           IsDeviceName(part);
  };
  const std::vector<std::string> parts = PartsOf(group, "\\/");
  const bool fromARoot = !group.empty() && (group[0] == '\\' || group[0] == '/');
  if (group.find(':') == std::string::npos && !fromARoot && !HasControlCharacter(group) &&
      std::none_of(parts.begin(), parts.end(), leavesTheGroup))
    return false;
  cx.sys.ui.Beep();
  Warn(cx, texts::kBadProgramGroup);
  return true;
}

bool EnsureFolder(InstallerContext& cx, const std::string& path, bool create, bool verify) {
  std::string folder = WithFinalBackslash(path);
  bool exists = false;
  try {
    exists = FolderExists(cx.sys.files, folder);
  } catch (const std::exception&) {
    exists = false;
  }
  if (!exists && create) return CreateFolderPath(cx, folder, verify);
  return exists;
}

bool FolderExists(FileSystem& files, const std::string& path) {
  // The answer a listing of "folder\*.*" gives, without reading the folder
  // through: an attribute query costs the same for a folder of any size (and
  // a drive root, which lists nothing when the disk is empty, is a folder too).
  std::optional<uint32_t> attributes = files.GetAttributes(WithFinalBackslash(path));
  return attributes && (*attributes & attr::Directory) != 0;
}

bool CreateFolderPath(InstallerContext& cx, const std::string& path, bool verify) {
  std::string folder = WithFinalBackslash(path);
  for (size_t at = folder.find('\\'); at != std::string::npos; at = folder.find('\\', at + 1)) {
    try {
      cx.sys.files.CreateFolder(folder.substr(0, at + 1));
    } catch (const std::exception&) {
      // Ignored like the refusals: the check below decides.
    }
  }
  if (!verify) return true;
  if (EnsureFolder(cx, folder, false, false)) return true;
  cx.sys.ui.Beep();
  cx.sys.ui.ShowMessage(texts::kCannotCreatePath, BoxTitle(cx), MsgIcon::Critical, MsgButtons::Ok);
  return false;
}

}  // namespace tessaro
