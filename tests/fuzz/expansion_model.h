#pragma once
// A plain restatement of token expansion for the fuzz targets to compare
// against: the twelve tokens in their order, each found on upper-case copies
// and replaced left to right, the search going on after the inserted value.
// The machine is the one of tests/unit/settings_machine.h.
#include <string>

#include "installer_state.h"
#include "text.h"

namespace tessaro::fuzz {

// Every "\" doubled; a final "\" dropped.
inline std::string ModelEscape(const std::string& value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 == value.size()) break;
    out += value[i];
    if (value[i] == '\\') out += '\\';
  }
  return out;
}

inline std::string ModelExpand(const PackageValues& pkg, const std::string& line, bool registry) {
  // The folders of SettingsMachine, as the lookups give them.
  const std::string programFiles = "C:\\Programmi\\";
  const std::string commonFiles = "C:\\Programmi\\File comuni\\";
  const std::string fonts = "C:\\WINNT\\Fonts\\";
  const std::string system = "c:\\winnt\\system32";
  const std::string windows = "c:\\winnt";
  auto path = [&](const std::string& v) { return registry ? ModelEscape(v) : v; };
  auto folder = [&](const std::string& v) {
    return registry ? ModelEscape(v) : v.substr(0, v.size() - 1);
  };
  const std::pair<std::string, std::string> table[] = {
      {"KV_Off_RT_Path", path(programFiles + "OfficeRT")},
      {"KV_App_Path", path(pkg.InstallPath)},
      {"KV_Version", pkg.AppVersion},
      {"KV_SH_Name", pkg.AppShortName},
      {"KV_WIN_SHARED_PRG", folder(commonFiles)},
      {"KV_MDW", pkg.WorkgroupFile},
      {"KV_MDE", pkg.DatabaseFile},
      {"KV_WIN_SYS_PATH", path(system)},
      {"KV_App_Name", pkg.AppFullName},
      {"KV_WIN_FONTS_PATH", folder(fonts)},
      {"KV_WIN_PRG", folder(programFiles)},
      {"KV_WIN_PATH", path(windows)},
  };
  std::string work = line;
  for (const auto& [name, value] : table) {
    const std::string token = UpperAscii("\xC2\xA7\xC2\xA7" + name + "\xC2\xA7\xC2\xA7");
    size_t at = UpperAscii(work).find(token);
    while (at != std::string::npos) {
      work = work.substr(0, at) + value + work.substr(at + token.size());
      at = UpperAscii(work).find(token, at + value.size());
    }
  }
  return work;
}

}  // namespace tessaro::fuzz
