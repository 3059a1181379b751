#include "settings/registry_import.h"

#include <string>
#include <vector>

#include "errors.h"
#include "settings/helpers.h"
#include "settings/placeholders.h"
#include "text.h"
#include "text_files.h"

namespace tessaro {

namespace {
constexpr const char* kTemplate = "Settings.lrk";
constexpr const char* kImportFile = "Settings.reg";
constexpr const char* kEditor = "Regedit.exe";

// A folder of this run's own that only administrators can open, in the
// Windows folder's Temp (or, without one, in the Windows folder), and
// removed with what it holds when the import is over.
class PrivateFolder {
 public:
  explicit PrivateFolder(Services& sys) : files_(sys.files) {
    const std::string windows = sys.shell.WindowsFolder();
    FileRead<std::string> made = files_.CreatePrivateFolder(windows + "\\Temp");
    if (!made) made = files_.CreatePrivateFolder(windows);
    if (!made) throw PathFileAccessError(windows + "\\Temp");
    path_ = *made;
  }
  ~PrivateFolder() {
    files_.DeleteWithoutFollowing(Path(kImportFile));
    files_.RemoveFolderWithoutFollowing(path_);
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  const std::string& Folder() const { return path_; }
  std::string Path(const std::string& name) const { return path_ + "\\" + name; }

 private:
  FileSystem& files_;
  std::string path_;
};

}  // namespace

void ImportRegistrySettings(InstallerContext& cx) {
  Services& sys = cx.sys;
  LineReader reader(ReadTextFile(sys.files, sys.platform, kTemplate));
  std::vector<std::string> lines;
  while (!reader.AtEnd()) lines.push_back(ExpandPlaceholders(cx, reader.ReadLine(), true));
  // Not in the setup folder: any user's program could put another file in
  // its place between its writing and the import, and have the editor write
  // anything into HKEY_LOCAL_MACHINE with the installer's rights.
  const PrivateFolder folder(sys);
  const std::string importFile = folder.Path(kImportFile);
  // An import of a stale or half-written file must not go ahead.
  WriteTextLinesOrFail(sys.files, sys.platform, importFile, lines);
  // A 32-bit installer on 64-bit Windows: the Windows folder's editor is the
  // 64-bit one and would write the 64-bit registry view, which the installed
  // 32-bit application and the 32-bit Access runtime never read. The 32-bit
  // editor, in the 32-bit system folder, writes the view they read.
  const std::string wow64 = sys.shell.Wow64SystemFolder();
  const std::string editorFolder = wow64.empty() ? sys.shell.WindowsFolder() : wow64;
  // The file by its full path, quoted when it has a blank.
  const std::string command =
      SystemProgram(editorFolder, kEditor) + " /S " + SystemProgram(folder.Folder(), kImportFile);
  const std::optional<uint32_t> code = RunAndWait(sys.processes, command);
  Note(cx, command + ": " +
               (code ? "codice di uscita " + std::to_string(*code) : std::string("non avviato")));
}

}  // namespace tessaro
