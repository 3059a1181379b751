#include <gtest/gtest.h>

#include "package_fixture.h"
#include "settings/setup_folder.h"
#include "wizard/startup.h"

namespace tessaro {
namespace {

using fakes::ProgramEnded;
using testing::PackageMachine;

TEST(SetupFolderPath, DropsTheBackslashOfADriveRoot) {
  fakes::FakePlatform p;
  p.programPath = "C:\\Temp\\Setup\\Installer.exe";
  EXPECT_EQ(SetupFolder(p), "C:\\Temp\\Setup");
  p.programPath = "D:\\Installer.exe";
  EXPECT_EQ(SetupFolder(p), "D:");
}

TEST(FileHelpers, PresenceAndDelete) {
  fakes::FakeFileSystem fs;
  fs.AddFile("C:\\a\\file.txt", "1", attr::ReadOnly);
  fs.AddFile("C:\\a\\hidden.txt", "1", attr::Hidden);
  fs.AddFolder("C:\\a\\folder");
  EXPECT_TRUE(FileIsPresent(fs, "C:\\a\\file.txt"));
  EXPECT_FALSE(FileIsPresent(fs, "C:\\a\\hidden.txt"));
  EXPECT_FALSE(FileIsPresent(fs, "C:\\a\\folder"));
  EXPECT_FALSE(FileIsPresent(fs, "C:\\a\\none.txt"));
  // For installing, anything there is there.
  for (const char* name : {"file.txt", "hidden.txt", "folder"})
    EXPECT_TRUE(EntryExists(fs, std::string("C:\\a\\") + name)) << name;
  EXPECT_FALSE(EntryExists(fs, "C:\\a\\none.txt"));

  EXPECT_TRUE(DeleteFileIfPresent(fs, "C:\\a\\file.txt"));  // read-only too
  EXPECT_FALSE(fs.Exists("C:\\a\\file.txt"));
  EXPECT_FALSE(DeleteFileIfPresent(fs, "C:\\a\\file.txt"));
}

TEST(EndOfSetup, EmptiesThePackageButKeepsTheUsersFiles) {
  PackageMachine m;
  m.state.PackageFound = true;
  m.sys.files.AddFile("C:\\Setup\\files\\sola lettura.dll", "x", attr::ReadOnly | attr::Hidden);
  m.sys.files.AddFile("C:\\Setup\\Settings.reg", "x");
  m.sys.files.AddFile("C:\\Setup\\Uninstall.Tmp", "x");
  m.sys.files.AddFile("C:\\Setup\\Lettera.doc", "mia");
  m.sys.files.AddFile("C:\\Setup\\Foto\\mare.jpg", "mia");
  m.sys.files.SetAttributes("C:\\Setup\\Setup.dip", attr::ReadOnly);
  m.sys.files.Lock("C:\\Setup\\Installer.exe");

  try {
    EndOfSetup(m.cx);
    FAIL() << "EndOfSetup returned";
  } catch (const ProgramEnded& end) {
    EXPECT_EQ(end.code, 0);
  }
  EXPECT_FALSE(m.sys.files.Exists("C:\\Setup\\files"));
  EXPECT_EQ(m.sys.files.Names("C:\\Setup"),
            (std::vector<std::string>{"Foto", "Installer.exe", "Lettera.doc"}));
  EXPECT_TRUE(m.sys.files.Exists("C:\\Setup\\Foto\\mare.jpg"));
  EXPECT_EQ(m.sys.ui.pointerHistory, (std::vector<bool>{true, false}));
  EXPECT_TRUE(m.sys.ui.boxes.empty());
}

TEST(EndOfSetup, SetupAtADriveRootLeavesOtherFilesAlone) {
  PackageMachine m;
  m.state.PackageFound = true;
  m.sys.platform.programPath = "D:\\Installer.exe";
  for (const char* name : kPackageFiles) m.sys.files.AddFile(std::string("D:\\") + name, "x");
  m.sys.files.AddFile("D:\\files\\a.dll", "x");
  m.sys.files.AddFile("D:\\autorun.inf", "x");
  m.sys.files.AddFile("D:\\Documenti\\tesi.doc", "x");
  EXPECT_THROW(EndOfSetup(m.cx), ProgramEnded);
  EXPECT_EQ(m.sys.files.Names("D:\\"), (std::vector<std::string>{"autorun.inf", "Documenti"}));
  EXPECT_EQ(m.sys.files.CurrentFolder(), "D:\\");
}

TEST(EndOfSetup, FilesFolderWithASubfolderStaysAndAJunctionGoesAlone) {
  PackageMachine m;
  m.state.PackageFound = true;
  m.sys.files.AddFile("C:\\Setup\\files\\sub\\x.dll", "x");
  EXPECT_THROW(EndOfSetup(m.cx), ProgramEnded);
  EXPECT_EQ(m.sys.files.Names("C:\\Setup\\files"), (std::vector<std::string>{"sub"}));

  // files\ swapped for a junction to the system folder after the copy:
  // nothing there is touched, and the junction goes as itself.
  PackageMachine linked;
  linked.state.PackageFound = true;
  ASSERT_TRUE(linked.sys.files.Delete("C:\\Setup\\files\\archivio.mde"));
  ASSERT_TRUE(linked.sys.files.RemoveFolder("C:\\Setup\\files"));
  linked.sys.files.AddFile("C:\\WINDOWS\\SYSTEM32\\hal.dll", "hal", attr::ReadOnly);
  linked.sys.files.AddLink("C:\\Setup\\files", "C:\\WINDOWS\\SYSTEM32");
  EXPECT_THROW(EndOfSetup(linked.cx), ProgramEnded);
  EXPECT_EQ(linked.sys.files.Content("C:\\WINDOWS\\SYSTEM32\\hal.dll"), "hal");
  EXPECT_EQ(linked.sys.files.GetAttributes("C:\\WINDOWS\\SYSTEM32\\hal.dll"), attr::ReadOnly);
  EXPECT_FALSE(linked.sys.files.Exists("C:\\Setup\\files"));
}

TEST(EndOfSetup, AFolderThatIsNoPackageKeepsItsFilesFolder) {
  // Started from a downloads folder without the package: the check fails,
  // and the user's own files\ stays whole.
  PackageMachine m;
  ASSERT_TRUE(m.sys.files.Delete("C:\\Setup\\Setup.ftc"));
  m.sys.files.AddFile("C:\\Setup\\files\\fattura.pdf", "mia");
  try {
    FormLoad(m.cx, m.view);
    ADD_FAILURE() << "the start-up went on";
  } catch (const ProgramEnded& end) {
    EXPECT_EQ(end.code, 1603);  // a fatal error, for the scripts that started it
  }
  EXPECT_EQ(m.sys.files.Content("C:\\Setup\\files\\fattura.pdf"), "mia");

  // A setup folder that cannot be made current is the start-up's error.
  PackageMachine gone;
  gone.sys.platform.programPath = "C:\\Sparito\\Installer.exe";
  FormLoad(gone.cx, gone.view);
  ASSERT_EQ(gone.sys.ui.boxes.size(), 1u);
  EXPECT_EQ(gone.sys.ui.boxes[0].text, "Errore critico di installazione #410#.");
}

}  // namespace
}  // namespace tessaro
