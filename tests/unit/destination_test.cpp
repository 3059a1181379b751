#include "engine/destination.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/fakes.h"
#include "texts.h"

namespace tessaro {
namespace {

using fakes::FakeFileSystem;
using fakes::FakeUi;

// A file system whose look-ups (listings and attribute queries) break down
// from the given call on.
struct BreakingFiles : FakeFileSystem {
  std::vector<DirEntry> List(const std::string& pattern) override {
    if (++calls >= breakAt) throw std::runtime_error("listing failed");
    return FakeFileSystem::List(pattern);
  }
  FileRead<uint32_t> GetAttributes(const std::string& path) override {
    if (++calls >= breakAt) throw std::runtime_error("attribute query failed");
    return FakeFileSystem::GetAttributes(path);
  }
  int calls = 0;
  int breakAt = 1 << 30;
};

// Message boxes that break down on one text.
struct BreakingUi : FakeUi {
  MsgAnswer ShowMessage(const std::string& text, const std::string& title, MsgIcon icon,
                        MsgButtons buttons) override {
    MsgAnswer answer = FakeUi::ShowMessage(text, title, icon, buttons);
    if (text == breakOn) throw std::runtime_error("box failed");
    return answer;
  }
  std::string breakOn;
};

struct Destination : ::testing::Test {
  fakes::FakeSystem sys;
  BreakingFiles files;
  BreakingUi ui;
  InstallerState state;
  InstallerContext cx{Services{ui, files, sys.registry, sys.shell, sys.processes, sys.platform},
                      state};

  Destination() { state.package.AppShortName = "Magazzino"; }

  // Validates `typed`, returning the verdict; `typed` is normalised in place.
  bool Validate(std::string& typed) { return ValidateDestination(cx, typed); }
  bool Validate(std::string&& typed) { return ValidateDestination(cx, typed); }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const auto& box : ui.boxes) texts.push_back(box.text);
    return texts;
  }
  bool IsFolder(const std::string& path) {
    return files.GetAttributes(path).value_or(0) & attr::Directory;
  }
};

TEST_F(Destination, PathIsTrimmedAndLosesItsFinalBackslashesBeforeTheChecks) {
  files.AddFolder("C:\\Programmi\\Archivio");
  std::string typed = "   C:\\Programmi\\Archivio\\\\  ";
  EXPECT_FALSE(Validate(typed));
  EXPECT_EQ(typed, "C:\\Programmi\\Archivio");
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(ui.beeps, 0);

  // Rejected paths are normalised too.
  std::string bad = " \\Programmi\\ ";
  EXPECT_TRUE(Validate(bad));
  EXPECT_EQ(bad, "\\Programmi");
}

TEST_F(Destination, MalformedPathsAreRejectedWithTheMessageOfTheFirstFailingCheck) {
  const struct {
    const char* typed;
    const char* message;
  } cases[] = {
      {"\\Programmi\\Archivio", texts::kNoDrive},
      {"\\\\server\\share", texts::kNoDrive},
      {"", texts::kNoDrive},
      {"Archivio:\\x", texts::kNoDrive},
      {"C:\\Prog:ram", texts::kForbiddenCharacters},
      {"C:\\a*b", texts::kForbiddenCharacters},
      {"C:\\a?b", texts::kForbiddenCharacters},
      {"C:\\a\"b", texts::kForbiddenCharacters},
      {"C:\\a<b>", texts::kForbiddenCharacters},
      {"C:\\a|b", texts::kForbiddenCharacters},
      {"C:/a", texts::kForbiddenCharacters},
      {"C:\\Łódź", texts::kForbiddenCharacters},     // the ANSI code page has no "Ł" or "ź"
      {"C:\\a\\\\b*", texts::kForbiddenCharacters},  // characters before network
      {"C:\\a\\\\b", texts::kNetworkPath},
      // Not what they look like: below the setup folder, out of the path
      // shown, a device, a folder Windows names otherwise.
      {"C:Dati", texts::kNoDrive},
      {"C:..\\..\\Windows", texts::kNoDrive},
      {"C:\\Da\tti", texts::kForbiddenCharacters},
      {"C:\\Dati\x7F", texts::kForbiddenCharacters},
      {"C:\\Programmi\\..\\Windows\\System32", texts::kBadFolderName},
      {"C:\\Dati\\.", texts::kBadFolderName},
      {"C:\\Dati\\CON", texts::kBadFolderName},
      {"C:\\Dati\\con.txt", texts::kBadFolderName},
      {"C:\\NUL .log\\x", texts::kBadFolderName},
      {"C:\\aux", texts::kBadFolderName},
      {"C:\\Prn.Dati", texts::kBadFolderName},
      {"C:\\COM1", texts::kBadFolderName},
      {"C:\\Dati\\lpt9", texts::kBadFolderName},
      {"C:\\COM\xC2\xB9", texts::kBadFolderName},
      {"C:\\Dati.\\x", texts::kBadFolderName},
      {"C:\\Dati \\x", texts::kBadFolderName},
      {"C:\\Dati\\Archivio.", texts::kBadFolderName},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    ui.boxes.clear();
    ui.beeps = 0;
    EXPECT_TRUE(Validate(c.typed));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, c.message);
    EXPECT_EQ(ui.boxes[0].title, "Magazzino setup");
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(ui.beeps, 1);
  }
  EXPECT_FALSE(files.Exists("C:\\a"));

  // Near misses that are ordinary names.
  ui.boxes.clear();
  for (const char* typed : {"C:\\CONSOLE", "C:\\COM10", "C:\\LPT", "C:\\Dati\\.profilo",
                            "C:\\a..b", "C:\\Dati\\ nota"}) {
    files.AddFolder(typed);
    EXPECT_FALSE(Validate(typed)) << typed;
  }
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Destination, ProgramGroupStaysAFolderBelowThePrograms) {
  for (const char* group : {"..\\..\\Esecuzione automatica", "Gruppo\\..\\..\\..\\Windows", "..",
                            ".", "...", "a/../../b", "C:\\Gruppo", "C:Gruppo", "\\Gruppo",
                            "\\\\server\\share", "/Gruppo", "CON", "Gruppo\\nul.txt", "Grup\tpo"}) {
    SCOPED_TRACE(group);
    ui.boxes.clear();
    ui.beeps = 0;
    EXPECT_TRUE(ValidateProgramGroup(cx, group));
    EXPECT_EQ(Texts(), std::vector<std::string>{texts::kBadProgramGroup});
    EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ui.boxes[0].title, "Magazzino setup");
    EXPECT_EQ(ui.beeps, 1);
  }
  ui.boxes.clear();
  for (const char* group :
       {"", "Archivio Clienti", "Ufficio\\Archivio", "Archivio v.2.0", "..Dati"})
    EXPECT_FALSE(ValidateProgramGroup(cx, group)) << group;
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Destination, DriveIsTheFirstCharacterWhateverItIs) {
  // An accented first letter is one character: the drive check passes and the
  // path goes on to the folder checks.
  ui.answers = {MsgAnswer::No};
  EXPECT_TRUE(Validate("è:\\Dati"));
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{texts::kCreateMissingFolder, texts::kChooseAnotherPath}));
}

TEST_F(Destination, DriveRootHoldingFilesAsksBeforeInstallingThere) {
  files.AddFile("C:\\boot.ini");
  std::string typed = "C:\\";
  EXPECT_FALSE(Validate(typed));  // the fake answers Yes
  EXPECT_EQ(typed, "C:");
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, texts::kFolderHoldsFiles);
  EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(ui.boxes[0].unattended, MsgAnswer::Yes);  // the administrator named it
  EXPECT_EQ(ui.beeps, 1);
}

TEST_F(Destination, NoToOverwritingAsksForAnotherPath) {
  files.AddFile("C:\\Dati\\archivio.mdb", "", attr::ReadOnly);
  ui.answers = {MsgAnswer::No};
  EXPECT_TRUE(Validate("C:\\Dati"));
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{texts::kFolderHoldsFiles, texts::kChooseAnotherPath}));
  EXPECT_EQ(ui.boxes[1].icon, MsgIcon::Exclamation);
  EXPECT_EQ(ui.boxes[1].buttons, MsgButtons::Ok);
  EXPECT_EQ(ui.beeps, 1);
}

TEST_F(Destination, SubfoldersAndHiddenOrSystemFilesDoNotCountAsFiles) {
  files.AddFolder("C:\\Solo cartelle\\Uno\\Due");
  files.AddFile("C:\\Nascosti\\desktop.ini", "", attr::Hidden | attr::System);
  files.AddFile("C:\\Nascosti\\thumbs.db", "", attr::Hidden);
  files.AddFile("C:\\Nascosti\\io.sys", "", attr::System);
  EXPECT_FALSE(Validate("C:\\Solo cartelle"));
  EXPECT_FALSE(Validate("C:\\Nascosti"));
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(Destination, MissingFolderIsCreatedLevelByLevelWhenTheUserAgrees) {
  EXPECT_FALSE(Validate("C:\\Nuova\\Cartella"));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, texts::kCreateMissingFolder);
  EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Question);
  EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(ui.boxes[0].unattended, MsgAnswer::Yes);
  EXPECT_EQ(ui.beeps, 0);
  EXPECT_TRUE(IsFolder("C:\\Nuova"));
  EXPECT_TRUE(IsFolder("C:\\Nuova\\Cartella"));
}

TEST_F(Destination, MissingFolderIsLeftAloneWhenTheUserDeclines) {
  ui.answers = {MsgAnswer::No};
  EXPECT_TRUE(Validate("C:\\Nuova\\Cartella"));
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{texts::kCreateMissingFolder, texts::kChooseAnotherPath}));
  EXPECT_FALSE(files.Exists("C:\\Nuova"));
}

TEST_F(Destination, FolderThatCannotBeMadeIsReportedOnceAndRejected) {
  files.AddFile("C:\\archivio.txt");
  EXPECT_TRUE(Validate("C:\\archivio.txt\\Dati"));  // Z: does not exist either
  EXPECT_TRUE(Validate("Z:\\Dati"));
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{texts::kCreateMissingFolder, texts::kCannotCreatePath,
                                      texts::kCreateMissingFolder, texts::kCannotCreatePath}));
  EXPECT_EQ(ui.boxes[1].icon, MsgIcon::Critical);
  EXPECT_EQ(ui.boxes[1].title, "Magazzino setup");
  EXPECT_EQ(ui.beeps, 2);
}

TEST_F(Destination, UnexpectedErrorKeepsTheVerdictReachedSoFar) {
  // After the folder was found: accepted.
  files.AddFolder("C:\\Dati");
  files.breakAt = 2;  // the existence test asks once, the file check lists next
  EXPECT_FALSE(Validate("C:\\Dati"));
  EXPECT_EQ(Texts(), (std::vector<std::string>{texts::kBadPathOrError}));
  EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(ui.beeps, 1);

  // Before: rejected.
  files.breakAt = 1 << 30;
  ui.boxes.clear();
  ui.breakOn = texts::kCreateMissingFolder;
  EXPECT_TRUE(Validate("C:\\Nuova"));
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{texts::kCreateMissingFolder, texts::kBadPathOrError}));
  EXPECT_FALSE(files.Exists("C:\\Nuova"));
}

TEST_F(Destination, FolderHelpersForTheInstallationRun) {
  // A failing test counts as a missing folder.
  files.AddFolder("C:\\Dati");
  files.breakAt = 1;
  EXPECT_FALSE(EnsureFolder(cx, "C:\\Dati", false, false));
  files.breakAt = 1 << 30;

  EXPECT_TRUE(EnsureFolder(cx, "C:\\Dati", false, true));
  EXPECT_FALSE(EnsureFolder(cx, "C:\\Dati\\Nuova", false, true));
  EXPECT_FALSE(files.Exists("C:\\Dati\\Nuova"));

  // Created below an existing level, with or without the final "\".
  EXPECT_TRUE(EnsureFolder(cx, "C:\\Dati\\A\\B\\C\\", true, false));
  EXPECT_TRUE(IsFolder("C:\\Dati\\A\\B\\C"));

  // Without verify nothing is reported, whatever happened.
  files.AddFile("C:\\file.txt");
  EXPECT_TRUE(CreateFolderPath(cx, "C:\\file.txt\\Sotto", false));
  EXPECT_TRUE(EnsureFolder(cx, "Q:\\Dati", true, false));
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(ui.beeps, 0);
}

TEST_F(Destination, FolderExistsForEveryFolderAndNothingElse) {
  files.AddFolder("D:\\");  // an empty disk lists nothing at its root
  files.AddFile("C:\\Dati\\a.txt");
  EXPECT_TRUE(FolderExists(files, "D:\\"));
  EXPECT_TRUE(FolderExists(files, "C:\\"));
  EXPECT_TRUE(FolderExists(files, "C:\\Dati\\"));
  EXPECT_FALSE(FolderExists(files, "C:\\Dati\\a.txt\\"));
  EXPECT_FALSE(FolderExists(files, "C:\\Altro\\"));
  EXPECT_FALSE(FolderExists(files, "E:\\"));
}

}  // namespace
}  // namespace tessaro
