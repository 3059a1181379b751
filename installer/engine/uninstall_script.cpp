#include "engine/uninstall_script.h"

#include <vector>

#include "engine/file_times.h"
#include "services/special_folders.h"
#include "settings/placeholders.h"
#include "text.h"
#include "text_files.h"
#include "texts.h"

namespace tessaro {

namespace {
constexpr const char* kTenSpaces = "          ";
}  // namespace

void WriteUninstallHead(InstallerContext& cx, const std::string& setupFolder,
                        const std::string& script) {
  Services& sys = cx.sys;
  LineReader dip(ReadTextFile(sys.files, sys.platform, setupFolder + "\\Setup.dip"));
  std::vector<std::string> lines;
  for (int number = 1; number <= 5; ++number) {
    std::string line = dip.ReadLine();
    if (number == 4)
      line =
          texts::kProgramGroupLine + GetSpecialFolder(sys, csidl::Programs) + cx.pkg().ProgramGroup;
    lines.push_back(line);
  }
  WriteTextLinesOrFail(sys.files, sys.platform, script, lines);
}

void WriteUninstallTail(InstallerContext& cx, const std::string& script) {
  Services& sys = cx.sys;
  auto expand = [&](const std::string& text) { return ExpandPlaceholders(cx, text, false); };
  const std::string appName = expand("§§KV_App_Name§§");
  const std::vector<std::string> lines = {
      "",
      ";[REMOVE]",
      LastWriteText(sys, sys.platform.ProgramPath()),
      "",
      ";[REGISTRY SECTION]",
      "RemoveKey:" +
          expand("LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                 "§§KV_App_Name§§"),
      "RemoveVal:LOCAL_MACHINE\\Software\\Microsoft\\Office\\8.0\\Access\\Profiles",
      kTenSpaces + appName,
      "RemoveVal:LOCAL_MACHINE\\Software\\Microsoft\\Access Runtime\\8.0\\Profiles",
      kTenSpaces + appName,
      "RemoveVal:" +
          expand("LOCAL_MACHINE\\Software\\§§KV_SH_Name§§\\§§KV_App_Name§§\\§§KV_Version§§"
                 "\\Jet\\3.5\\Engines"),
      std::string(kTenSpaces) + "SystemDB",
  };
  for (const std::string& line : lines) AppendTextLineOrFail(sys.files, sys.platform, script, line);
}

}  // namespace tessaro
