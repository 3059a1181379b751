#include "wizard/startup.h"

#include <gtest/gtest.h>

#include "text.h"

#include "package_fixture.h"
#include "settings/setup_folder.h"

namespace tessaro {
namespace {

using fakes::ProgramEnded;
using testing::PackageMachine;

TEST(NameLabels, CutAtTheBlankBeforeTheVersion) {
  fakes::FakePlatform p;
  EXPECT_EQ(AppNameCaption(p, "Archivio v.2.0"), "ARCHIVIO ");
  EXPECT_EQ(AppTitleCaption(p, "Archivio v.2.0"), "Installazione di ARCHIVIO V.2.0");
  EXPECT_EQ(AppNameCaption(p, "Archivio 2.0"), "");
  EXPECT_EQ(AppNameCaption(p, "Archivio V.2"), "");  // the search is case-sensitive
  EXPECT_EQ(AppNameCaption(p, "Contabilità più v.3"), "CONTABILITÀ PIÙ ");
}

TEST(WelcomeMarkers, ReplaceEachMarkerWithOneBlankAndTheName) {
  EXPECT_EQ(ReplaceWelcomeMarkers("Benvenuti in @ !", "Archivio v.2"), "Benvenuti in Archivio v.2 !");
  EXPECT_EQ(ReplaceWelcomeMarkers("A  @  e  @  fine", "N"), "A N  e N  fine");
  EXPECT_EQ(ReplaceWelcomeMarkers("@ inizio", "N"), " N inizio");
  EXPECT_EQ(ReplaceWelcomeMarkers("nessun marcatore  ", "N"), "nessun marcatore  ");
  // Line breaks are never trimmed.
  EXPECT_EQ(ReplaceWelcomeMarkers("Riga\r\n@\r\nAltra", "N"), "Riga\r\n N\r\nAltra");
}

TEST(WelcomeMarkers, NameHoldingTheMarkerIsInsertedOnce) {
  EXPECT_EQ(ReplaceWelcomeMarkers("Ciao @, e @.", "A@B"), "Ciao A@B, e A@B.");
}

// The rule spelled out marker by marker, as the text was built before: the
// one-pass version must give the same text for any mix of blanks and markers.
std::string MarkerByMarker(const std::string& text, const std::string& name) {
  std::string result = text;
  size_t from = 0;
  for (size_t at; (at = result.find('@', from)) != std::string::npos;) {
    std::string before = TrimBlanks(result.substr(0, at)) + " " + name;
    result = before + TrimRightBlanks(result.substr(at + 1));
    from = before.size();
  }
  return result;
}

TEST(WelcomeMarkers, OnePassGivesTheSameTextForAnyMixAndManyMarkers) {
  uint32_t x = 1;
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int i = 0; i < 12; ++i) {
      x = x * 1103515245u + 12345u;
      text += " @a\n"[(x >> 16) % 4];
    }
    for (const char* name : {"N", " N ", "", "  ", "@"})
      ASSERT_EQ(ReplaceWelcomeMarkers(text, name), MarkerByMarker(text, name))
          << "[" << text << "] [" << name << "]";
  }
  // 32,768 markers come back at once.
  std::string many, expected;
  for (int i = 0; i < 32768; ++i) {
    many += "x  @";
    expected += "x N";
  }
  EXPECT_EQ(ReplaceWelcomeMarkers(many, "N"), expected);
}

TEST(FormLoad, FillsThePackageValuesAndTheWelcomePage) {
  PackageMachine m;
  m.sys.files.SetCurrentFolder("C:\\");
  FormLoad(m.cx, m.view);
  EXPECT_TRUE(m.sys.ui.boxes.empty());
  EXPECT_EQ(m.sys.files.CurrentFolder(), "C:\\Setup");
  EXPECT_EQ(m.state.package.InstallPath, "C:\\Programmi\\Archivio");
  EXPECT_EQ(m.view.appName, "ARCHIVIO CLIENTI ");
  EXPECT_EQ(m.view.appTitle, "Installazione di ARCHIVIO CLIENTI V.2.0");
  EXPECT_EQ(m.view.welcome, "Benvenuti in Archivio Clienti v.2.0 !");
  EXPECT_EQ(m.sys.registry.openKeys, 0);
  EXPECT_EQ(m.view.outlines, 1);
}

TEST(FormLoad, WelcomeTextIsDecodedFromTheAnsiCodePage) {
  PackageMachine m;
  m.sys.files.WriteAll("C:\\Setup\\Welcome.txt", "Citt\xE0 @");
  FormLoad(m.cx, m.view);
  EXPECT_EQ(m.view.welcome, "Città Archivio Clienti v.2.0");
}

TEST(FormLoad, RerunResetsTheUsersChoices) {
  PackageMachine m;
  FormLoad(m.cx, m.view);
  m.state.package.InstallPath = "D:\\Altrove";
  m.state.package.ProgramGroup = "Mio gruppo";
  FormLoad(m.cx, m.view);
  EXPECT_EQ(m.state.package.InstallPath, "C:\\Programmi\\Archivio");
  EXPECT_EQ(m.state.package.ProgramGroup, "Archivio Clienti");
}

TEST(FormLoad, MissingProgramFilesValueLeavesARootedPath) {
  PackageMachine m;
  m.sys.registry = fakes::FakeRegistry();
  FormLoad(m.cx, m.view);
  EXPECT_EQ(m.state.package.InstallPath, "\\Archivio");
}

TEST(FormLoad, PackageFilesAreCheckedInOrderAndTheFirstMissingEndsSetup) {
  // With two files missing only the first in list order is reported.
  PackageMachine m;
  m.sys.files.Delete("C:\\Setup\\Setup.ftc");
  m.sys.files.Delete("C:\\Setup\\kv_shell.dll");
  EXPECT_THROW(FormLoad(m.cx, m.view), ProgramEnded);
  ASSERT_EQ(m.sys.ui.boxes.size(), 1u);
  const auto& box = m.sys.ui.boxes[0];
  EXPECT_EQ(box.text,
            "Impossibile trovare kv_shell.dll. Il file è necessario per eseguire l'installazione.");
  EXPECT_EQ(box.title, "Errore critico");
  EXPECT_EQ(box.icon, MsgIcon::Critical);
  EXPECT_EQ(box.buttons, MsgButtons::Ok);
  EXPECT_EQ(m.sys.ui.beeps, 1);
  EXPECT_EQ(m.view.welcome, "(unset)");
  EXPECT_FALSE(m.sys.files.Exists("C:\\Setup\\Setup.dip"));  // the exit emptied the folder
}

TEST(FormLoad, HiddenOrFolderPackageEntriesCountAsMissing) {
  for (bool hidden : {true, false}) {
    PackageMachine m;
    m.sys.files.Delete("C:\\Setup\\Licence.txt");
    if (hidden) {
      m.sys.files.AddFile("C:\\Setup\\Licence.txt", "x", attr::Hidden);
    } else {
      m.sys.files.AddFolder("C:\\Setup\\Licence.txt");
    }
    EXPECT_THROW(FormLoad(m.cx, m.view), ProgramEnded);
    ASSERT_EQ(m.sys.ui.boxes.size(), 1u);
    EXPECT_NE(m.sys.ui.boxes[0].text.find("Licence.txt"), std::string::npos);
  }
}

TEST(FormLoad, SafeModeAsksFirstAndCancelEndsSetup) {
  for (int mode : {1, 2}) {
    PackageMachine m;
    m.sys.platform.cleanBoot = mode;
    m.sys.ui.answers = {MsgAnswer::Cancel};
    EXPECT_THROW(FormLoad(m.cx, m.view), ProgramEnded);
    ASSERT_EQ(m.sys.ui.boxes.size(), 1u);
    EXPECT_EQ(m.sys.ui.boxes[0].title, "Setup");
    EXPECT_EQ(m.sys.ui.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(m.sys.ui.boxes[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(m.sys.ui.boxes[0].unattended, MsgAnswer::Ok);  // the administrator asked for it
    EXPECT_EQ(m.sys.ui.beeps, 1);
  }
  PackageMachine ok;
  ok.sys.platform.cleanBoot = 1;
  ok.sys.ui.answers = {MsgAnswer::Ok};
  FormLoad(ok.cx, ok.view);
  EXPECT_EQ(ok.sys.ui.boxes.size(), 1u);
  EXPECT_EQ(ok.view.welcome, "Benvenuti in Archivio Clienti v.2.0 !");
}

TEST(FormLoad, BrokenDescriptionShowsTheCriticalErrorAndKeepsWhatWasLoaded) {
  PackageMachine m;
  m.sys.files.WriteAll("C:\\Setup\\Setup.dip", std::string(testing::kSetupDip) + "\r\n");
  FormLoad(m.cx, m.view);  // does not end the program
  ASSERT_EQ(m.sys.ui.boxes.size(), 1u);
  EXPECT_EQ(m.sys.ui.boxes[0].text, "Errore critico di installazione #410#.");
  EXPECT_EQ(m.sys.ui.boxes[0].title, "Archivio setup");
  EXPECT_EQ(m.sys.ui.boxes[0].icon, MsgIcon::Critical);
  EXPECT_EQ(m.state.package.IconFile, "archivio.ico");
  EXPECT_EQ(m.view.appName, "(unset)");
}

TEST(FormLoad, ErrorBeforeTheShortNameGivesABareTitle) {
  PackageMachine m;
  m.sys.files.WriteAll("C:\\Setup\\Setup.dip", "Nome:Solo una riga\r\n");
  FormLoad(m.cx, m.view);
  ASSERT_EQ(m.sys.ui.boxes.size(), 1u);
  EXPECT_EQ(m.sys.ui.boxes[0].title, " setup");
}

}  // namespace
}  // namespace tessaro
