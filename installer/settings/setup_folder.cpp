#include "settings/setup_folder.h"

#include "exit_codes.h"
#include "services/restart.h"
#include "text.h"

namespace tessaro {

std::string SetupFolder(Platform& platform) {
  std::string path = platform.ProgramPath();
  size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(0, slash);
}

bool FileIsPresent(FileSystem& files, const std::string& path) {
  // A path without wildcards lists itself or nothing: its attributes tell the
  // same in one query, without opening the folder.
  if (path.find_first_of("*?") == std::string::npos) {
    std::optional<uint32_t> attributes = files.GetAttributes(path);
    return attributes && !(*attributes & (attr::Directory | attr::Hidden | attr::System));
  }
  for (const DirEntry& entry : files.List(path)) {
    if (entry.attributes & (attr::Directory | attr::Hidden | attr::System)) continue;
    return true;
  }
  return false;
}

bool EntryExists(FileSystem& files, const std::string& path) {
  const FileRead<uint32_t> attributes = files.GetAttributes(path);
  return attributes || attributes.status.fault != FileFault::NotFound;
}

bool DeleteFileIfPresent(FileSystem& files, const std::string& path) {
  if (!FileIsPresent(files, path)) return false;
  files.DeleteWithoutFollowing(path);
  return true;
}

void RemoveFolderQuiet(FileSystem& files, const std::string& path) {
  files.RemoveFolderWithoutFollowing(path);
}

namespace {

// Clears read-only, hidden and system, then deletes; failures are left be.
// The setup folder is the user's to change while the installer works: a
// junction put in place of files\ is neither entered nor emptied.
void ForceDelete(FileSystem& files, const std::string& path) { files.DeleteWithoutFollowing(path); }

// A folder path joined with a name; a drive root such as "D:" gets its "\".
std::string InFolder(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

}  // namespace

void EndOfSetup(InstallerContext& cx) {
  FileSystem& files = cx.sys.files;
  cx.sys.ui.SetBusyPointer(true);
  const std::string folder = SetupFolder(cx.sys.platform);
  const std::string filesFolder = InFolder(folder, "files");

  // Everything in files\ belongs to the package, once the package was found
  // there: an installer started beside someone's own "files" folder (a
  // downloads folder) leaves it alone.
  if (cx.state.PackageFound) {
    files.SetCurrentFolder(filesFolder);
    for (const DirEntry& entry : files.List(InFolder(filesFolder, "*.*"))) {
      if (!entry.IsFolder()) ForceDelete(files, InFolder(filesFolder, entry.name));
    }
    files.SetCurrentFolder(folder.size() == 2 ? folder + "\\" : folder);
    RemoveFolderQuiet(files, filesFolder);
  }

  // The setup folder may be shared with the user's own files (or be a drive's
  // root): only the package's files and the installer's scratch files go.
  for (const char* name : kPackageFiles) ForceDelete(files, InFolder(folder, name));
  for (const char* name : kScratchFiles) ForceDelete(files, InFolder(folder, name));

  cx.sys.ui.SetBusyPointer(false);
  int code = ExitCodeOf(cx.state);
  // Noted first: a restart that starts may end the program at once.
  if (cx.state.RestartNeeded) Note(cx, "riavvio di Windows richiesto");
  if (RestartWindowsIfNeeded(cx)) code = exitcode::RestartStarted;
  EndProgram(cx, code);
}

}  // namespace tessaro
