// ExpandPlaceholders in both modes. The input gives the package values and
// the line, separated by LF, all decoded from the ANSI code page. Rules: a
// line without a section sign comes back as it is; every line expands as the
// plain restatement in expansion_model.h does.
#include "expansion_model.h"
#include "fuzz_support.h"
#include "settings/placeholders.h"
#include "settings_machine.h"

using namespace tessaro;
using namespace tessaro::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> f = Fields(Cp1252ToUtf8(Bytes(data, size)), '\n', 7);
  testing::SettingsMachine m;
  m.pkg.InstallPath = f[0];
  m.pkg.AppVersion = f[1];
  m.pkg.AppShortName = f[2];
  m.pkg.WorkgroupFile = f[3];
  m.pkg.DatabaseFile = f[4];
  m.pkg.AppFullName = f[5];
  const std::string& line = f[6];

  for (bool registry : {false, true}) {
    const std::string expanded = ExpandPlaceholders(m.cx, line, registry);
    if (line.find("\xC2\xA7") == std::string::npos) FUZZ_CHECK(expanded == line);
    FUZZ_CHECK(expanded == ModelExpand(m.pkg, line, registry));
  }
  return 0;
}
