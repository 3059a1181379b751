#include "services/file_version.h"

#include <gtest/gtest.h>

#include <map>

#include "fakes/fakes.h"
#include "text.h"

namespace tessaro {
namespace {

using namespace std::string_literals;

struct FileVersion : ::testing::Test {
  fakes::FakeSystem sys;
  Services services = sys.services();
  const std::string dll = "C:\\WINDOWS\\SYSTEM32\\comctl32.ocx";

  // All eight strings, with the names as resource compilers usually write
  // them ("OriginalFilename"): Windows matches them regardless of case.
  std::map<std::string, std::string> Strings(const std::string& fileVersion) {
    return {{"CompanyName", "Tessaro\0"s},
            {"FileDescription", "Controlli comuni\0"s},
            {"FileVersion", fileVersion},
            {"InternalName", "comctl32\0"s},
            {"LegalCopyright", "Copyright Tessaro\0"s},
            {"OriginalFilename", "comctl32.ocx\0"s},
            {"ProductName", "Tessaro\0"s},
            {"ProductVersion", "1.0\0"s}};
  }
  double Number(const std::map<std::string, std::string>& strings) {
    sys.files.AddFile(dll, "MZ");
    sys.files.SetVersionStrings(dll, strings);
    return GetFileVersionNumber(services, dll);
  }
  double Number(const std::string& fileVersion) { return Number(Strings(fileVersion)); }
};

TEST_F(FileVersion, NumberIsTheLeadingNumberOfTheFileVersion) {
  EXPECT_DOUBLE_EQ(Number("4.71.1712.5\0"s), 4.71);
  EXPECT_DOUBLE_EQ(Number("5.0.0.1"), 5);
  EXPECT_DOUBLE_EQ(Number("3, 51, 0, 2\0"s), 3);
  EXPECT_DOUBLE_EQ(Number(" 6.2 (build 9200)"), 6.2);
  EXPECT_DOUBLE_EQ(Number("v1.2"), 0);
  // Blanks count nowhere, not even inside the exponent.
  EXPECT_DOUBLE_EQ(Number(" 1 . 5 e - 2 x"), 0.015);
  EXPECT_DOUBLE_EQ(Number("2e 3 4"), 2e34);
  EXPECT_DOUBLE_EQ(Number(""), 0);
  // Only the first two parts compare.
  EXPECT_EQ(Number("4.71.1712.5"), Number("4.71.3110.0"));
  EXPECT_GT(Number("4.2"), Number("4.10"));
}

TEST_F(FileVersion, EveryOneOfTheEightStringsMustBePresent) {
  for (const char* name : kVersionInfoNames) {
    SCOPED_TRACE(name);
    auto strings = Strings("4.71");
    ASSERT_EQ(std::erase_if(strings,
                            [&](const auto& s) { return UpperAscii(s.first) == UpperAscii(name); }),
              1u);
    EXPECT_DOUBLE_EQ(Number(strings), 0);
  }
  // Extra strings do no harm.
  auto strings = Strings("4.71");
  strings["Comments"] = "x";
  EXPECT_DOUBLE_EQ(Number(strings), 4.71);
}

TEST_F(FileVersion, FilesWithoutAVersionResourceGiveZero) {
  sys.files.AddFile("C:\\leggimi.txt", "Versione 4.0\r\n");
  EXPECT_DOUBLE_EQ(GetFileVersionNumber(services, "C:\\leggimi.txt"), 0);
  EXPECT_DOUBLE_EQ(GetFileVersionNumber(services, "C:\\manca.dll"), 0);
}

TEST_F(FileVersion, OverlongValueIsCutTo254Characters) {
  // 254 characters of a 300-digit number are read: 1e253, not 1e299.
  EXPECT_DOUBLE_EQ(Number("1" + std::string(299, '0')), 1e253);
}

}  // namespace
}  // namespace tessaro
