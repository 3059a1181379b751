#include "wizard/quit.h"

#include <gtest/gtest.h>

#include "package_fixture.h"

namespace tessaro {
namespace {

using fakes::ProgramEnded;

// The quit dialog answered by a script, and what the windows went through.
struct FakeQuit : QuitView {
  explicit FakeQuit(InstallerContext& cx) : cx(cx) {}
  void ShowQuitDialog() override {
    ++dialogs;
    exit ? ExitSetupClick(cx) : BackToSetupClick(cx);
  }
  void ShowWaitingWindow() override { events.push_back("show"); }
  void SetWaitingText(const std::string& t) override { events.push_back(t); }
  void CloseWaitingWindow() override { events.push_back("close"); }
  InstallerContext& cx;
  bool exit = false;
  int dialogs = 0;
  std::vector<std::string> events;
};

struct Cancelling : ::testing::Test {
  testing::PackageMachine m;
  FakeQuit quit{m.cx};
  Cancelling() {
    m.state.package.AppShortName = "Archivio";
    m.sys.files.SetCurrentFolder("C:\\Setup");
    // A run interrupted in its copy: two new files in the destination, one in
    // a subfolder, and the uninstall script, which the rollback list omits.
    m.sys.files.AddFile("D:\\App\\a.mde", "a");
    m.sys.files.AddFile("D:\\App\\Stampe\\s.txt", "s");
    m.sys.files.AddFile("D:\\App\\Uninstall.ini", "u");
    m.state.CreatedFiles = {"D:\\App\\Stampe\\s.txt", "D:\\App\\gone.dll", "D:\\App\\a.mde"};
    // The list on disk, with a line that another user's program added.
    m.sys.files.AddFile("C:\\WINDOWS\\SYSTEM32\\hal.dll", "hal");
    m.sys.files.WriteAll("C:\\Setup\\Uninstall.Tmp",
                         "D:\\App\\Stampe\\s.txt\r\nD:\\App\\gone.dll\r\nD:\\App\\a.mde\r\n"
                         "C:\\WINDOWS\\SYSTEM32\\hal.dll\r\n");
  }
};

TEST_F(Cancelling, BackKeepsTheWizardAsItWas) {
  for (bool installing : {false, true}) {
    m.state.Installing = installing;
    m.state.QuitConfirmed = true;  // an earlier answer does not count
    CancelSetup(m.cx, quit);
    CloseRequested(m.cx, quit);
    EXPECT_FALSE(m.state.QuitConfirmed);
  }
  EXPECT_EQ(quit.dialogs, 4);
  EXPECT_TRUE(m.sys.ui.boxes.empty());
  EXPECT_TRUE(quit.events.empty());
  EXPECT_TRUE(m.sys.files.Exists("D:\\App\\a.mde"));
}

TEST_F(Cancelling, ExitBeforeTheRunLeavesWithoutDeletingAnything) {
  quit.exit = true;
  try {
    CancelSetup(m.cx, quit);
    ADD_FAILURE() << "the program went on";
  } catch (const ProgramEnded& end) {
    EXPECT_EQ(end.code, 1602);  // cancelled by the user
  }
  ASSERT_EQ(m.sys.ui.boxes.size(), 1u);
  EXPECT_EQ(m.sys.ui.boxes[0].text, "Installazione interrotta dall'Utente.");
  EXPECT_EQ(m.sys.ui.boxes[0].title, "Archivio setup");
  EXPECT_EQ(m.sys.ui.boxes[0].icon, MsgIcon::Critical);
  EXPECT_EQ(m.sys.ui.boxes[0].buttons, MsgButtons::Ok);
  EXPECT_TRUE(quit.events.empty());
  EXPECT_TRUE(m.sys.files.Exists("D:\\App\\Stampe\\s.txt"));
}

TEST_F(Cancelling, ExitDuringTheRunDeletesTheListedFilesAndEmptiedFolders) {
  m.state.Installing = true;
  quit.exit = true;
  EXPECT_THROW(CancelSetup(m.cx, quit), ProgramEnded);
  EXPECT_EQ(quit.events,
            (std::vector<std::string>{"show", "Annullamento dell'installazione...", "close"}));
  EXPECT_FALSE(m.sys.files.Exists("D:\\App\\a.mde"));
  EXPECT_FALSE(m.sys.files.Exists("D:\\App\\Stampe"));
  // The destination still held the uninstall script when its file went.
  EXPECT_TRUE(m.sys.files.Exists("D:\\App\\Uninstall.ini"));
  // Only what the run created goes, whatever Uninstall.Tmp says.
  EXPECT_EQ(m.sys.files.Content("C:\\WINDOWS\\SYSTEM32\\hal.dll"), "hal");
}

TEST_F(Cancelling, AFolderSwappedForAJunctionKeepsWhatItLeadsTo) {
  // Stampe moved away, and a junction to the system folder in its place.
  ASSERT_TRUE(m.sys.files.Delete("D:\\App\\Stampe\\s.txt"));
  ASSERT_TRUE(m.sys.files.RemoveFolder("D:\\App\\Stampe"));
  m.sys.files.AddFile("C:\\WINDOWS\\SYSTEM32\\s.txt", "di sistema");
  m.sys.files.AddLink("D:\\App\\Stampe", "C:\\WINDOWS\\SYSTEM32");
  m.state.Installing = true;
  quit.exit = true;
  EXPECT_THROW(CancelSetup(m.cx, quit), ProgramEnded);
  EXPECT_EQ(m.sys.files.Content("C:\\WINDOWS\\SYSTEM32\\s.txt"), "di sistema");
  EXPECT_FALSE(m.sys.files.Exists("D:\\App\\Stampe"));  // the junction went, as a junction
  EXPECT_FALSE(m.sys.files.Exists("D:\\App\\a.mde"));
}

TEST_F(Cancelling, ClosingTheWindowDuringTheRunLeavesTheCopiedFiles) {
  m.state.Installing = true;
  quit.exit = true;
  EXPECT_THROW(CloseRequested(m.cx, quit), ProgramEnded);
  EXPECT_TRUE(quit.events.empty());
  EXPECT_TRUE(m.sys.files.Exists("D:\\App\\Stampe\\s.txt"));
}

TEST_F(Cancelling, AMissingUninstallTmpChangesNothing) {
  m.sys.files.Delete("C:\\Setup\\Uninstall.Tmp");
  m.state.Installing = true;
  quit.exit = true;
  EXPECT_THROW(CancelSetup(m.cx, quit), ProgramEnded);
  EXPECT_EQ(quit.events.back(), "close");
  EXPECT_FALSE(m.sys.files.Exists("D:\\App\\a.mde"));
}

}  // namespace
}  // namespace tessaro
