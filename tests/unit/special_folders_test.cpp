#include "services/special_folders.h"

#include <gtest/gtest.h>

#include <set>

#include "settings_machine.h"
#include "text.h"

namespace tessaro {
namespace {

using testing::kCurrentVersion;
using testing::kLocalMachine;
using testing::kPrograms;

TEST(SpecialFolders, ProgramFilesFoldersComeFromTheRegistry) {
  testing::SettingsMachine m;
  m.sys.shell.folders[38] = "X:\\Shell";  // not asked
  EXPECT_EQ(GetSpecialFolder(m.services, 38), "C:\\Programmi\\");
  EXPECT_EQ(GetSpecialFolder(m.services, 43), "C:\\Programmi\\File comuni\\");
  m.sys.registry = fakes::FakeRegistry();
  EXPECT_EQ(GetSpecialFolder(m.services, 38), "\\");
  EXPECT_EQ(GetSpecialFolder(m.services, 43), "\\");
  // A number where a text belongs counts as missing.
  m.sys.registry.Put(kLocalMachine, kCurrentVersion, "ProgramFilesDir",
                     RegData{regtype::Dword, {}, 3});
  EXPECT_EQ(GetSpecialFolder(m.services, 38), "\\");
}

TEST(SpecialFolders, OtherCodesComeFromTheShellWithAFinalBackslash) {
  testing::SettingsMachine m;
  EXPECT_EQ(GetSpecialFolder(m.services, 2), std::string(kPrograms) + "\\");
  EXPECT_EQ(GetSpecialFolder(m.services, 20), "C:\\WINNT\\Fonts\\");
  EXPECT_EQ(GetSpecialFolder(m.services, 5), "");  // not resolved
  m.sys.shell.folders[0] = "D:\\";                 // a root keeps a single "\"
  EXPECT_EQ(GetSpecialFolder(m.services, 0), "D:\\");
}

TEST(SpecialFolders, WindowsFoldersAreLowerCaseWithoutFinalBackslash) {
  testing::SettingsMachine m;
  m.sys.shell.systemFolder = "C:\\WINDOWS\\SYSTEM";
  m.sys.shell.windowsFolder = "C:\\WINDOWS";
  EXPECT_EQ(GetSystemFolder(m.services), "c:\\windows\\system");
  EXPECT_EQ(GetWindowsFolder(m.services), "c:\\windows");
  m.sys.shell.windowsFolder = "E:\\SISTEMA ÀÉÎÕÜ ŒŠ\\";
  EXPECT_EQ(GetWindowsFolder(m.services), "e:\\sistema àéîõü œš");
}

TEST(LowerLatin, MirrorsUpperLatin) {
  const std::string upper = "ABCXYZ ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ ĀĂĄĆČĎĐĘĚĞĹĽŁŃŇŊŐŒŔŘŚŠŢŤŮŰŸŹŻŽ";
  const std::string lower = "abcxyz àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ āăąćčďđęěğĺľłńňŋőœŕřśšţťůűÿźżž";
  EXPECT_EQ(LowerLatin(upper), lower);
  EXPECT_EQ(UpperLatin(lower), upper);
  // Signs and letters without a pair stay as they are.
  EXPECT_EQ(LowerLatin("× ß ĸ ŉ ſ 1\\:€"), "× ß ĸ ŉ ſ 1\\:€");
}

struct ProgramGroups : ::testing::Test {
  testing::SettingsMachine m;
  std::string P(const std::string& name) { return std::string(kPrograms) + "\\" + name; }
  std::vector<std::string> All() {
    std::vector<std::string> names;
    for (int i = 1;; ++i) {
      std::string name = ProgramGroupName(m.services, i);
      if (name.empty()) return names;
      names.push_back(name);
    }
  }
};

TEST_F(ProgramGroups, ListsVisibleFoldersOnly) {
  m.sys.files.AddFolder(P("Accessori"));
  m.sys.files.AddFolder(P("Giochi"));
  m.sys.files.AddFile(P("x.lnk"), "L");
  m.sys.files.AddFolder(P(".nascosta"));
  m.sys.files.AddFolder(P("Nascosta"));
  m.sys.files.SetAttributes(P("Nascosta"), attr::Hidden);
  m.sys.files.AddFolder(P("DiSistema"));
  m.sys.files.SetAttributes(P("DiSistema"), attr::System);
  m.sys.files.AddFolder(P("SolaLettura"));
  m.sys.files.SetAttributes(P("SolaLettura"), attr::ReadOnly);

  std::vector<std::string> names = All();
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
            (std::set<std::string>{"Accessori", "Giochi", "SolaLettura"}));
  EXPECT_EQ(names.size(), 3u);
  EXPECT_EQ(ProgramGroupName(m.services, 0), "");
  EXPECT_EQ(ProgramGroupName(m.services, 4), "");
  EXPECT_EQ(ProgramGroupName(m.services, -1), "");
}

TEST_F(ProgramGroups, NothingWithoutAProgramsFolder) {
  EXPECT_EQ(ProgramGroupName(m.services, 1), "");  // exists, but empty
  m.sys.files.AddFolder(P("Accessori"));
  m.sys.shell.folders.erase(2);
  EXPECT_EQ(ProgramGroupName(m.services, 1), "");
  m.sys.shell.folders[2] = "C:\\NonEsiste";
  EXPECT_EQ(ProgramGroupName(m.services, 1), "");
}

}  // namespace
}  // namespace tessaro
