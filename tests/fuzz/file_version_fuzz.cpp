// GetFileVersionNumber over a fake file's version resource. The first input
// byte says which of the eight strings the resource lacks (one bit each); the
// rest gives the strings, separated by LF, decoded from the ANSI code page.
// Rules: a resource lacking any string gives 0; the number depends on
// "FileVersion" only; parts after the second one of a dotted version do not
// count; and a version with no minus sign gives no negative number.
#include <map>

#include "fakes/fakes.h"
#include "fuzz_support.h"
#include "services/file_version.h"
#include "text.h"

using namespace tessaro;
using namespace tessaro::fuzz;

namespace {

constexpr const char* kFile = "C:\\Programmi\\App\\x.dll";

double NumberOf(const std::vector<std::string>& values, uint8_t missing) {
  fakes::FakeSystem sys;
  sys.files.AddFile(kFile, "MZ");
  std::map<std::string, std::string> strings;
  for (size_t i = 0; i < kVersionInfoNames.size(); ++i)
    if (!(missing & (1u << i))) strings[kVersionInfoNames[i]] = values[i];
  sys.files.SetVersionStrings(kFile, strings);
  Services services = sys.services();
  return GetFileVersionNumber(services, kFile);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t missing = data[0];
  std::vector<std::string> values = Fields(Cp1252ToUtf8(Bytes(data + 1, size - 1)), '\n', 8);
  const double number = NumberOf(values, missing);
  if (missing != 0) {
    FUZZ_CHECK(number == 0);
    return 0;
  }

  constexpr size_t kFileVersion = 2;
  const std::string version = values[kFileVersion];
  std::vector<std::string> others(8, "x");
  others[kFileVersion] = version;
  FUZZ_CHECK(NumberOf(others, 0) == number);

  if (version.find('.') != std::string::npos) {
    values[kFileVersion] = version + ".7.7";
    FUZZ_CHECK(NumberOf(values, 0) == number);
  }
  if (version.find('-') == std::string::npos) FUZZ_CHECK(!(number < 0));
  return 0;
}
