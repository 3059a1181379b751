#include "settings/registry_import.h"

#include <string>
#include <vector>

#include "settings/helpers.h"
#include "settings/placeholders.h"
#include "text.h"
#include "text_files.h"

namespace tessaro {

namespace {
constexpr const char* kTemplate = "Settings.lrk";
constexpr const char* kImportFile = "Settings.reg";
constexpr const char* kEditor = "Regedit.exe";
}  // namespace

void ImportRegistrySettings(InstallerContext& cx) {
  Services& sys = cx.sys;
  LineReader reader(ReadTextFile(sys.files, sys.platform, kTemplate));
  std::vector<std::string> lines;
  while (!reader.AtEnd()) lines.push_back(ExpandPlaceholders(cx, reader.ReadLine(), true));
  // An import of a stale or half-written file must not go ahead.
  WriteTextLinesOrFail(sys.files, sys.platform, kImportFile, lines);
  // A 32-bit installer on 64-bit Windows: the Windows folder's editor is the
  // 64-bit one and would write the 64-bit registry view, which the installed
  // 32-bit application and the 32-bit Access runtime never read. The 32-bit
  // editor, in the 32-bit system folder, writes the view they read.
  const std::string wow64 = sys.shell.Wow64SystemFolder();
  const std::string folder = wow64.empty() ? sys.shell.WindowsFolder() : wow64;
  // The file by its full path (quoted when it has a blank): the editor starts
  // in the system folder, not in the installer's.
  const std::string command = SystemProgram(folder, kEditor) + " /S " +
                              SystemProgram(sys.files.CurrentFolder(), kImportFile);
  const std::optional<uint32_t> code = RunAndWait(sys.processes, command);
  Note(cx, command + ": " +
               (code ? "codice di uscita " + std::to_string(*code) : std::string("non avviato")));
}

}  // namespace tessaro
