#include "engine/registration.h"

#include "errors.h"
#include "path_split.h"
#include "settings/helpers.h"
#include "settings/registry_access.h"

namespace tessaro {

namespace {

constexpr const char* kFontsKey = "Software\\microsoft\\windows\\currentversion\\fonts";

void StartRegistrationTool(Services& sys, const std::string& destinationPath) {
  std::string command =
      SystemProgram(sys.shell.SystemFolder(), "regsvr32") + " \"" + destinationPath + "\" /S";
  // The tool is not waited for; only a failure to start it is an error.
  if (!sys.processes.Start(command, true))
    throw RuntimeError(err::FileNotFound, "File not found: regsvr32");
}

void EnterFont(Services& sys, const std::string& destinationPath) {
  if (IsNTPlatform(sys.platform)) return;
  // The value is named after the file, not the font's face name. A key that
  // cannot be opened leaves the font out in silence.
  std::string name = FileNamePart(destinationPath);
  SetRegistryValue(sys.registry, "LOCAL_MACHINE", kFontsKey, name + " (TrueType)", name, "STRING");
  sys.platform.BroadcastFontChange();
}

}  // namespace

std::string InstallFileType(Platform& platform, const std::string& sourcePath) {
  size_t dot = sourcePath.find('.');
  if (dot == std::string::npos) return {};
  return platform.UpperCase(sourcePath.substr(dot + 1));
}

std::string RegisterComponent(Services& sys, const std::string& sourcePath,
                              const std::string& destinationPath) {
  std::string type = InstallFileType(sys.platform, sourcePath);
  if (type == "OCX" || type == "DLL") {
    StartRegistrationTool(sys, destinationPath);
    return "registrazione avviata (regsvr32 /S)";
  }
  if (type == "TTF") {
    if (IsNTPlatform(sys.platform)) return "carattere: nessuna voce da scrivere su Windows NT";
    EnterFont(sys, destinationPath);
    return "carattere: voce scritta in HKLM\\" + std::string(kFontsKey) + " (se la chiave esiste)";
  }
  return {};
}

}  // namespace tessaro
