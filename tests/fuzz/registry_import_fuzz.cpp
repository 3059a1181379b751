// Settings.lrk to Settings.reg (ImportRegistrySettings) on the fake machine.
// Rules: Settings.reg has one CR LF line per template line; a line without a
// section sign is copied byte for byte; every line is the registry-mode
// expansion of its template line; and the registry editor runs once, after
// the whole file is written, on a file of its own that is gone afterwards.
#include "expansion_model.h"
#include "fuzz_support.h"
#include "settings/registry_import.h"
#include "settings_machine.h"

using namespace tessaro;
using namespace tessaro::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = Bytes(data, size);
  testing::SettingsMachine m;
  m.sys.files.AddFile("C:\\Setup\\Settings.lrk", bytes);
  m.sys.files.AddFolder("C:\\WINNT\\Temp");
  const std::string file = "C:\\WINNT\\Temp\\Privata1\\Settings.reg";
  std::string written = "(not run)";
  m.sys.processes.program = [&](const std::string&) {
    written = m.sys.files.Content(file);
    return true;
  };
  ImportRegistrySettings(m.cx);

  FUZZ_CHECK(m.sys.processes.started.size() == 1);
  FUZZ_CHECK(EndsWith(m.sys.processes.started[0], "\\Regedit.exe /S " + file));
  FUZZ_CHECK(!m.sys.files.Exists(file));

  const std::vector<std::string> in = SplitLines(bytes);
  std::vector<std::string> out;
  for (size_t from = 0; from < written.size();) {
    const size_t end = written.find("\r\n", from);
    FUZZ_CHECK(end != std::string::npos);
    out.push_back(written.substr(from, end - from));
    from = end + 2;
  }
  FUZZ_CHECK(out.size() == in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i].find('\xA7') == std::string::npos) FUZZ_CHECK(out[i] == in[i]);
    FUZZ_CHECK(out[i] == Utf8ToCp1252(ModelExpand(m.pkg, Cp1252ToUtf8(in[i]), true)));
  }
  return 0;
}
