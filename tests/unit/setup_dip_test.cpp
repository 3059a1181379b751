#include "engine/setup_dip.h"

#include <gtest/gtest.h>

#include "errors.h"
#include "package_fixture.h"

namespace tessaro {
namespace {

using testing::kSetupDip;

TEST(SetupDip, ReadsEachValueFromItsPosition) {
  PackageValues pkg;
  ReadSetupDip(kSetupDip, "C:\\Programmi", pkg);
  EXPECT_EQ(pkg.AppFullName, "Archivio Clienti v.2.0");
  EXPECT_EQ(pkg.AppShortName, "Archivio");
  EXPECT_EQ(pkg.ProgramGroup, "Archivio Clienti");
  EXPECT_EQ(pkg.AppVersion, "2.0");
  EXPECT_EQ(pkg.InstallPath, "C:\\Programmi\\Archivio");
  EXPECT_EQ(pkg.PackageBytes, 123456);
  EXPECT_EQ(pkg.MainProgram, "archivio.exe");
  EXPECT_EQ(pkg.DatabaseFile, "archivio.mde");
  EXPECT_EQ(pkg.WorkgroupFile, "archivio.mdw");
  EXPECT_EQ(pkg.IconFile, "archivio.ico");
  EXPECT_EQ(pkg.ShortcutCount, 0);
}

TEST(SetupDip, PositionsCountCharactersAndShortLinesAreEmpty) {
  // "Città" takes five characters (six bytes) of the label.
  std::string dip = std::string("Città Contabilità v.1\r\n") + "x\r\nshort\r\n" +
                    "Gruppo progr.:  G  \r\nVer\r\n\r\nDimensione: 7.6 MB\r\n\r\n\r\n\r\n\r\n";
  PackageValues pkg;
  ReadSetupDip(dip, "", pkg);
  EXPECT_EQ(pkg.AppFullName, "Contabilità v.1");
  EXPECT_EQ(pkg.AppShortName, "");
  EXPECT_EQ(pkg.ProgramGroup, "G");
  EXPECT_EQ(pkg.AppVersion, "");
  EXPECT_EQ(pkg.InstallPath, "\\");  // no Program Files folder: the path begins with "\"
  EXPECT_EQ(pkg.PackageBytes, 8);    // leading number, rounded
}

TEST(SetupDip, PackageSizeBeyondThirtyTwoBitsIsAnOverflow) {
  std::string dip = kSetupDip;
  dip.replace(dip.find("123456"), 6, "3000000000");
  PackageValues pkg;
  try {
    ReadSetupDip(dip, "C:", pkg);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::Overflow);
  }
  EXPECT_EQ(pkg.InstallPath, "C:\\Archivio");  // values before the error stay
}

TEST(SetupDip, ShortcutGroupsOfThreeLines) {
  std::string dip = std::string(kSetupDip) + "Nome  :Manuale\r\nFile  :manuale.pdf\r\nIcona :m.ico\r\n" +
                    "Nome  :Leggimi\r\nFile  :leggimi.txt\r\nIcona :l.ico";
  PackageValues pkg;
  ReadSetupDip(dip, "C:", pkg);
  ASSERT_EQ(pkg.ShortcutCount, 2);
  EXPECT_EQ(pkg.ExtraShortcuts[0].Name, "Manuale");
  EXPECT_EQ(pkg.ExtraShortcuts[0].Target, "manuale.pdf");
  EXPECT_EQ(pkg.ExtraShortcuts[1].Icon, "l.ico");
}

TEST(SetupDip, TrailingEmptyLinesOpenAGroupThatEndsTooEarly) {
  for (const char* tail : {"\r\n", "\r\n\r\n"}) {
    PackageValues pkg;
    try {
      ReadSetupDip(std::string(kSetupDip) + tail, "C:", pkg);
      FAIL() << "no error for " << std::string(tail).size() / 2 << " empty lines";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), err::InputPastEnd);
    }
    EXPECT_EQ(pkg.ShortcutCount, 0);  // the cut group is not kept half-filled
  }
  PackageValues pkg;
  ReadSetupDip(std::string(kSetupDip) + "\r\n\r\n\r\n", "C:", pkg);
  ASSERT_EQ(pkg.ShortcutCount, 1);
  EXPECT_EQ(pkg.ExtraShortcuts[0].Name, "");
}

TEST(SetupDip, FewerThanElevenLinesIsAnError) {
  std::string dip = kSetupDip;
  dip.resize(dip.find("Icona"));
  PackageValues pkg;
  EXPECT_THROW(ReadSetupDip(dip, "C:", pkg), RuntimeError);
  EXPECT_EQ(pkg.WorkgroupFile, "archivio.mdw");
}

TEST(SetupDip, GroupsAfterTheTenthAreIgnored) {
  std::string dip = kSetupDip;
  for (int i = 1; i <= 12; ++i) {
    std::string n = std::to_string(i);
    dip += "Nome  :S" + n + "\r\nFile  :t" + n + "\r\nIcona :i" + n + "\r\n";
  }
  PackageValues pkg;
  ReadSetupDip(dip, "C:", pkg);
  EXPECT_EQ(pkg.ShortcutCount, 10);
  EXPECT_EQ(pkg.ExtraShortcuts[9].Name, "S10");
}

TEST(SetupDip, RereadingResetsTheShortcutTable) {
  PackageValues pkg;
  ReadSetupDip(std::string(kSetupDip) + "a\r\nb\r\nc\r\n", "C:", pkg);
  ASSERT_EQ(pkg.ShortcutCount, 1);
  ReadSetupDip(kSetupDip, "C:", pkg);
  EXPECT_EQ(pkg.ShortcutCount, 0);
  EXPECT_EQ(pkg.ExtraShortcuts[0].Name, "");
}

}  // namespace
}  // namespace tessaro
