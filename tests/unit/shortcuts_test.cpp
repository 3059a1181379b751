#include "services/shortcuts.h"

#include <gtest/gtest.h>

#include "errors.h"
#include "settings_machine.h"

namespace tessaro {
namespace {

using testing::kDesktop;
using testing::kPrograms;

struct Shortcuts : ::testing::Test {
  testing::SettingsMachine m;
  const std::string script = "C:\\Programmi\\Gestione\\Uninstall.ini";
  std::string P(const std::string& rest) { return std::string(kPrograms) + rest; }
};

TEST_F(Shortcuts, GroupShortcutIsRecordedAndMadeInTheGroupFolder) {
  CreateShortcut(m.cx, 2, "Gestione", "C:\\Programmi\\Gestione\\magazzino.exe", "Contabilità",
                 "/x \"a b\"", "C:\\Programmi\\Gestione\\magazzino.ico");
  const std::string link = P("\\Gestione\\Contabilità.Lnk");
  EXPECT_TRUE(m.sys.files.GetAttributes(P("\\Gestione")).value_or(0) & attr::Directory);
  // ANSI, CR LF.
  EXPECT_EQ(m.sys.files.Content(script),
            "LNK=" + std::string(kPrograms) + "\\Gestione\\Contabilit\xE0.Lnk\r\n");
  ASSERT_EQ(m.sys.shell.shortcuts.size(), 1u);
  const ShortcutFile& made = m.sys.shell.shortcuts[0];
  EXPECT_EQ(made.path, link);
  EXPECT_EQ(made.target, "C:\\Programmi\\Gestione\\magazzino.exe");
  EXPECT_EQ(made.workingFolder, "C:\\Programmi\\Gestione");
  EXPECT_EQ(made.arguments, "/x \"a b\"");
  EXPECT_EQ(made.iconFile, "C:\\Programmi\\Gestione\\magazzino.ico");
  EXPECT_TRUE(m.sys.files.Exists(link));
}

TEST_F(Shortcuts, DesktopShortcutIgnoresTheGroup) {
  CreateShortcut(m.cx, 0, "Gestione", "t.exe", "Magazzino", "", "i.ico");
  EXPECT_FALSE(m.sys.files.Exists(std::string(kDesktop) + "\\Gestione"));
  EXPECT_FALSE(m.sys.files.Exists(P("\\Gestione")));
  ASSERT_EQ(m.sys.shell.shortcuts.size(), 1u);
  EXPECT_EQ(m.sys.shell.shortcuts[0].path, std::string(kDesktop) + "\\Magazzino.Lnk");
  EXPECT_EQ(m.sys.files.Content(script), "LNK=" + std::string(kDesktop) + "\\Magazzino.Lnk\r\n");
}

TEST_F(Shortcuts, EmptyGroupLeavesADoubledBackslash) {
  auto before = m.sys.files.Names(kPrograms);
  CreateShortcut(m.cx, 2, "", "t.exe", "Magazzino", "", "i.ico");
  const std::string link = P("\\\\Magazzino.Lnk");
  EXPECT_EQ(m.sys.files.Content(script), "LNK=" + link + "\r\n");
  ASSERT_EQ(m.sys.shell.shortcuts.size(), 1u);
  EXPECT_EQ(m.sys.shell.shortcuts[0].path, link);
  auto after = m.sys.files.Names(kPrograms);
  EXPECT_EQ(after.size(), before.size() + 1);  // the shortcut, no new folder
  EXPECT_FALSE(m.sys.files.GetAttributes(P("\\Magazzino.Lnk")).value_or(attr::Directory) &
               attr::Directory);
}

TEST_F(Shortcuts, LinesFollowTheScriptHeadInCreationOrder) {
  m.sys.files.WriteAll(script, "[Intestazione]\r\n");
  m.sys.files.AddFolder(P("\\Gestione"));  // an existing group is fine
  CreateShortcut(m.cx, 2, "Gestione", "a.exe", "Primo", "", "");
  CreateShortcut(m.cx, 0, "", "a.exe", "Primo", "", "");
  CreateShortcut(m.cx, 2, "Gestione", "b.exe", "Secondo", "", "");
  EXPECT_EQ(m.sys.files.Content(script),
            "[Intestazione]\r\nLNK=" + P("\\Gestione\\Primo.Lnk") + "\r\nLNK=" + kDesktop +
                "\\Primo.Lnk\r\nLNK=" + P("\\Gestione\\Secondo.Lnk") + "\r\n");
  EXPECT_EQ(m.sys.shell.shortcuts.size(), 3u);
}

TEST_F(Shortcuts, FailedShortcutIsAnErrorAfterItWasRecorded) {
  m.sys.shell.failShortcuts = true;
  try {
    CreateShortcut(m.cx, 2, "Gestione", "a.exe", "Primo", "", "");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::Automation);
  }
  EXPECT_EQ(m.sys.files.Content(script), "LNK=" + P("\\Gestione\\Primo.Lnk") + "\r\n");
}

TEST_F(Shortcuts, UnwritableScriptStopsBeforeTheShortcut) {
  m.pkg.InstallPath = "C:\\NonEsiste";
  try {
    CreateShortcut(m.cx, 2, "Gestione", "a.exe", "Primo", "", "");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::PathFileAccess);
  }
  EXPECT_TRUE(m.sys.shell.shortcuts.empty());
}

TEST_F(Shortcuts, UnresolvedSpecialFolderMakesNothingRelative) {
  // A path relative to the setup folder would end up in scratch space.
  m.sys.shell.folders.erase(2);
  try {
    CreateShortcut(m.cx, 2, "Gestione", "a.exe", "Primo", "", "");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::Automation);
  }
  EXPECT_FALSE(m.sys.files.Exists("C:\\Setup\\Gestione"));
  EXPECT_FALSE(m.sys.files.Exists(script));
  EXPECT_TRUE(m.sys.shell.shortcuts.empty());
}

}  // namespace
}  // namespace tessaro
