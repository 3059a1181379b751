#include "engine/install_file.h"

#include "box_title.h"
#include "engine/deferred_replacement.h"
#include "engine/destination.h"
#include "engine/file_times.h"
#include "engine/registration.h"
#include "errors.h"
#include "path_split.h"
#include "services/file_version.h"
#include "settings/setup_folder.h"
#include "text.h"

namespace tessaro {

namespace {

// Whole seconds of the last-write time, 0 for a file that cannot be read:
// the timestamp text compared as a date-time, without the round trip
// through text.
uint64_t LastWriteSeconds(FileSystem& files, const std::string& path) {
  auto times = files.GetTimes(path);
  return times ? times->lastWrite / 10'000'000 : 0;
}

// The rules for an existing destination that may be replaced.
bool SourceMayReplace(Services& sys, const std::string& type, const std::string& source,
                      const std::string& destination) {
  if (type == "DLL" || type == "OCX" || type == "EXE")
    return GetFileVersionNumber(sys, source) >= GetFileVersionNumber(sys, destination);
  if (type == "MDB")
    return LastWriteSeconds(sys.files, source) >= LastWriteSeconds(sys.files, destination);
  return true;
}

}  // namespace

bool InstallFile(InstallerContext& cx, CopyView& view, const std::string& source,
                 const std::string& destination, bool mayReplace, bool& existedBefore) {
  KnownFacts known;
  known.destinationPresent = EntryExists(cx.sys.files, destination);
  return InstallFile(cx, view, source, destination, mayReplace, existedBefore, known);
}

bool InstallFile(InstallerContext& cx, CopyView& view, const std::string& source,
                 const std::string& destination, bool mayReplace, bool& existedBefore,
                 const KnownFacts& known) {
  existedBefore = false;
  bool copyRan = false;
  bool result = false;
  try {
    if (known.destinationPresent) {
      existedBefore = true;
      // A folder of that name is the user's, and no file replaces it.
      if (cx.sys.files.GetAttributes(destination).value_or(0) & attr::Directory) {
        Note(cx, "non copiato: " + destination + " (al suo posto c'è una cartella)");
        return false;
      }
      if (!mayReplace) {
        Note(cx, "mantenuto: " + destination + " (già presente; il pacchetto non lo sostituisce)");
        return true;
      }
      const std::string type = InstallFileType(cx.sys.platform, source);
      if (!SourceMayReplace(cx.sys, type, source, destination)) {
        Note(cx, "mantenuto: " + destination + " (la copia presente è più recente)");
        return false;
      }
    }
    const std::string folder = FolderOfPath(destination);
    if (folder != known.readyFolder) EnsureFolder(cx, folder, true, false);
    bool stamped = false;
    bool made = false;  // the copy created the destination
    const CreatedFile created = [&](const std::string& path) {
      made = !known.created || known.created(path);
      return made;
    };
    result = CopyKnown(cx, view, source, destination, known.destinationPresent,
                       known.installerTimes, created, stamped);
    copyRan = true;
    // An old file that a failed copy left in place keeps its attributes and
    // times: with the installer's it would pass for the new one. So does
    // anything the copy found at a destination it meant to create.
    if (!stamped && (result || made)) {
      cx.sys.files.SetAttributes(destination, attr::Normal);
      if (known.installerTimes)
        cx.sys.files.SetTimes(destination, *known.installerTimes);
      else
        StampInstallerTimes(cx.sys, destination);
    }
    if (result) Note(cx, (existedBefore ? "sostituito: " : "installato: ") + destination);
    const std::string registration = RegisterComponent(cx.sys, source, destination);
    if (!registration.empty()) Note(cx, registration + ": " + destination);
    return result;
  } catch (const RuntimeError& error) {
    Note(cx, "errore: " + destination + " (" + error.what() + ")");
    cx.sys.ui.Beep();
    // These two are only beeped for.
    if (error.Number() != err::FileAlreadyExists && error.Number() != err::PathFileAccess)
      cx.sys.ui.ShowMessage(error.what(), BoxTitle(cx), MsgIcon::Critical, MsgButtons::Ok);
    // Once the copy ran its outcome stands; an error before it installed nothing.
    return copyRan && result;
  }
}

void PlaceComponent(InstallerContext& cx, const std::string& source, const std::string& target) {
  FileSystem& files = cx.sys.files;
  // The type by the file's name: the setup folder's own path may hold a ".".
  if (EntryExists(files, target) &&
      !SourceMayReplace(cx.sys, InstallFileType(cx.sys.platform, FileNamePart(source)), source,
                        target)) {
    Note(cx, "componente mantenuto: " + target + " (la copia presente è più recente)");
    return;
  }
  const std::string scratch = NextFreeNumberedName(files, target);
  FileStatus status = files.Copy(source, scratch);
  if (status) status = MoveOverExisting(files, scratch, target);
  if (status) {
    Note(cx, "componente: " + target);
    return;
  }
  files.Delete(scratch);
  Note(cx, "componente non sostituito: " + target + " (" +
               TrimBlanks(files.ErrorText(status.code)) + ")");
}

}  // namespace tessaro
