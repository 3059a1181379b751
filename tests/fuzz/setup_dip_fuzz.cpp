// Setup.dip through the start-up (FormLoad) on a fake machine with a
// complete package. Rules: the start-up fails with the #410# box exactly when
// the file ends before line 11 or inside one of the first ten groups of three
// (or its size does not fit 32 bits); otherwise every value is its line's
// text past the label, without outer blanks (the size its leading number),
// and the welcome page and the destination are built from them.
#include <algorithm>
#include <exception>

#include "errors.h"
#include "fuzz_support.h"
#include "package_fixture.h"
#include "text.h"
#include "texts.h"
#include "wizard/startup.h"

using namespace tessaro;
using namespace tessaro::fuzz;

namespace {

// The value as it must come from `line`: the text past `label` characters
// has it, with only blanks around it.
bool ValueOfLine(const std::string& value, const std::string& line, size_t label) {
  const std::string rest = AfterCodePoints(line, label);
  const size_t at = rest.find(value);
  if (at == std::string::npos) return false;
  const auto blanks = [](const std::string& s) {
    return s.find_first_not_of(' ') == std::string::npos;
  };
  return blanks(rest.substr(0, at)) && blanks(rest.substr(at + value.size())) &&
         (value.empty() || (value.front() != ' ' && value.back() != ' '));
}

bool SizeOverflows(const std::string& line7) {
  try {
    RoundToInt32(LeadingNumber(AfterCodePoints(line7, 11)));
    return false;
  } catch (const RuntimeError&) {
    return true;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = Bytes(data, size);
  testing::PackageMachine m;
  m.sys.files.WriteAll("C:\\Setup\\Setup.dip", bytes);
  FormLoad(m.cx, m.view);

  const std::vector<std::string> lines = SplitLines(Cp1252ToUtf8(bytes));
  const size_t extra = lines.size() < 11 ? 0 : lines.size() - 11;
  const bool wellFormed = lines.size() >= 11 && (extra >= 30 || extra % 3 == 0);
  const bool failed = !m.sys.ui.boxes.empty();
  if (failed) {
    FUZZ_CHECK(m.sys.ui.boxes.size() == 1);
    FUZZ_CHECK(m.sys.ui.boxes[0].text == texts::kStartupError);
    FUZZ_CHECK(!wellFormed || SizeOverflows(lines[6]));
    return 0;
  }
  FUZZ_CHECK(wellFormed);

  const PackageValues& pkg = m.state.package;
  FUZZ_CHECK(ValueOfLine(pkg.AppFullName, lines[0], 5));
  FUZZ_CHECK(ValueOfLine(pkg.AppShortName, lines[2], 13));
  FUZZ_CHECK(ValueOfLine(pkg.ProgramGroup, lines[3], 14));
  FUZZ_CHECK(ValueOfLine(pkg.AppVersion, lines[4], 8));
  const std::string programFiles = "C:\\Programmi\\";
  FUZZ_CHECK(pkg.InstallPath.compare(0, programFiles.size(), programFiles) == 0);
  FUZZ_CHECK(ValueOfLine(pkg.InstallPath.substr(programFiles.size()), lines[5], 13));
  FUZZ_CHECK(pkg.PackageBytes == RoundToInt32(LeadingNumber(AfterCodePoints(lines[6], 11))));
  FUZZ_CHECK(ValueOfLine(pkg.MainProgram, lines[7], 9));
  FUZZ_CHECK(ValueOfLine(pkg.DatabaseFile, lines[8], 9));
  FUZZ_CHECK(ValueOfLine(pkg.WorkgroupFile, lines[9], 9));
  FUZZ_CHECK(ValueOfLine(pkg.IconFile, lines[10], 9));

  const size_t groups = std::min<size_t>(extra / 3, 10);
  FUZZ_CHECK(pkg.ShortcutCount == groups);
  for (size_t g = 0; g < groups; ++g) {
    const ShortcutEntry& e = pkg.ExtraShortcuts[g];
    FUZZ_CHECK(ValueOfLine(e.Name, lines[11 + 3 * g], 7));
    FUZZ_CHECK(ValueOfLine(e.Target, lines[12 + 3 * g], 7));
    FUZZ_CHECK(ValueOfLine(e.Icon, lines[13 + 3 * g], 7));
  }

  // Welcome.txt of the fixture is "Benvenuti in @ !".
  FUZZ_CHECK(m.view.welcome == "Benvenuti in " + pkg.AppFullName + " !");
  FUZZ_CHECK(m.view.appTitle == texts::kAppTitlePrefix + UpperLatin(pkg.AppFullName));
  const bool versioned = pkg.AppFullName.find(" v.") != std::string::npos;
  FUZZ_CHECK(m.view.appName.empty() != versioned);
  FUZZ_CHECK(!versioned || m.view.appName.back() == ' ');
  return 0;
}
