#include "settings/placeholders.h"

#include <gtest/gtest.h>

#include "settings_machine.h"

namespace tessaro {
namespace {

using testing::kCurrentVersion;
using testing::kLocalMachine;

struct Placeholders : ::testing::Test {
  testing::SettingsMachine m;
  std::string Plain(const std::string& line) { return ExpandPlaceholders(m.cx, line, false); }
  std::string Reg(const std::string& line) { return ExpandPlaceholders(m.cx, line, true); }
};

TEST(EscapeBackslashes, DoublesEveryBackslashButDropsAFinalOne) {
  EXPECT_EQ(EscapeBackslashes("C:\\Program Files\\"), "C:\\\\Program Files");
  EXPECT_EQ(EscapeBackslashes("C:\\Programmi\\Gestione"), "C:\\\\Programmi\\\\Gestione");
  EXPECT_EQ(EscapeBackslashes("D:\\"), "D:");
  EXPECT_EQ(EscapeBackslashes("\\"), "");
  EXPECT_EQ(EscapeBackslashes(""), "");
  EXPECT_EQ(EscapeBackslashes("a\\\\"), "a\\\\");  // the inner one doubled, the last dropped
  EXPECT_EQ(EscapeBackslashes("\\\\srv\\\"q\""), "\\\\\\\\srv\\\\\"q\"");  // quotes stay
}

TEST_F(Placeholders, AppPathInBothModes) {
  EXPECT_EQ(Plain("§§KV_App_Path§§\\Dati"), "C:\\Programmi\\Gestione\\Dati");
  // Registry mode escapes the inserted value only: the line's own text is
  // already in the import syntax, where a backslash of its own is doubled.
  EXPECT_EQ(Reg("§§KV_App_Path§§\\\\Dati"), "C:\\\\Programmi\\\\Gestione\\\\Dati");
  EXPECT_EQ(Reg("§§KV_App_Path§§\\Dati"), "C:\\\\Programmi\\\\Gestione\\Dati");
  EXPECT_EQ(Reg("\"Path\"=\"§§KV_App_Path§§\\\\Dati\""),
            "\"Path\"=\"C:\\\\Programmi\\\\Gestione\\\\Dati\"");
}

TEST_F(Placeholders, InstallPathEndingInBackslash) {
  m.pkg.InstallPath = "D:\\";
  EXPECT_EQ(Plain("§§KV_App_Path§§x"), "D:\\x");
  EXPECT_EQ(Reg("§§KV_App_Path§§x"), "D:x");
  m.pkg.InstallPath = "D:\\Archivi\\";
  EXPECT_EQ(Reg("[§§KV_App_Path§§]"), "[D:\\\\Archivi]");
}

TEST_F(Placeholders, EveryTokenInBothModes) {
  struct Case {
    const char* token;
    const char* plain;
    const char* reg;
  };
  const Case cases[] = {
      {"§§KV_Off_RT_Path§§", "C:\\Programmi\\OfficeRT", "C:\\\\Programmi\\\\OfficeRT"},
      {"§§KV_App_Path§§", "C:\\Programmi\\Gestione", "C:\\\\Programmi\\\\Gestione"},
      {"§§KV_Version§§", "3.1", "3.1"},
      {"§§KV_SH_Name§§", "Magazzino", "Magazzino"},
      {"§§KV_WIN_SHARED_PRG§§", "C:\\Programmi\\File comuni", "C:\\\\Programmi\\\\File comuni"},
      {"§§KV_MDW§§", "magazzino.mdw", "magazzino.mdw"},
      {"§§KV_MDE§§", "magazzino.mde", "magazzino.mde"},
      {"§§KV_WIN_SYS_PATH§§", "c:\\winnt\\system32", "c:\\\\winnt\\\\system32"},
      {"§§KV_App_Name§§", "Gestione Magazzino v.3.1", "Gestione Magazzino v.3.1"},
      {"§§KV_WIN_FONTS_PATH§§", "C:\\WINNT\\Fonts", "C:\\\\WINNT\\\\Fonts"},
      {"§§KV_WIN_PRG§§", "C:\\Programmi", "C:\\\\Programmi"},
      {"§§KV_WIN_PATH§§", "c:\\winnt", "c:\\\\winnt"},
  };
  std::string line, plain, reg;
  for (const Case& c : cases) {
    EXPECT_EQ(Plain(std::string("<") + c.token + ">"), std::string("<") + c.plain + ">") << c.token;
    EXPECT_EQ(Reg(std::string("<") + c.token + ">"), std::string("<") + c.reg + ">") << c.token;
    line += std::string(c.token) + "|";
    plain += std::string(c.plain) + "|";
    reg += std::string(c.reg) + "|";
  }
  EXPECT_EQ(Plain(line), plain);
  EXPECT_EQ(Reg(line), reg);
}

TEST_F(Placeholders, OfficeRuntimePathSitsUnderProgramFiles) {
  EXPECT_EQ(Plain("§§KV_Off_RT_Path§§\\MSACCESS.EXE"), "C:\\Programmi\\OfficeRT\\MSACCESS.EXE");
  m.sys.registry.PutString(kLocalMachine, kCurrentVersion, "ProgramFilesDir", "E:\\");
  EXPECT_EQ(Plain("§§KV_Off_RT_Path§§"), "E:\\\\OfficeRT");  // the registry's "\" and ours
  EXPECT_EQ(Plain("§§KV_WIN_PRG§§"), "E:\\");                // only one final "\" goes
}

TEST_F(Placeholders, MatchingIgnoresTheCaseOfLettersOnly) {
  EXPECT_EQ(Plain("§§kv_version§§ §§KV_VERSION§§ §§Kv_VeRsIoN§§"), "3.1 3.1 3.1");
  // The rest of the line keeps its case.
  EXPECT_EQ(Plain("Versione §§kv_version§§ di MaGaZzInO"), "Versione 3.1 di MaGaZzInO");
  EXPECT_EQ(Plain("§§KV_WIN_prg§§"), "C:\\Programmi");
}

TEST_F(Placeholders, EveryOccurrenceIsReplacedOnce) {
  EXPECT_EQ(Plain("§§KV_App_Name§§ - §§KV_App_Name§§"),
            "Gestione Magazzino v.3.1 - Gestione Magazzino v.3.1");
  // A value holding its own token is not expanded again...
  m.pkg.InstallPath = "C:\\§§KV_App_Path§§";
  EXPECT_EQ(Plain("§§KV_App_Path§§|§§KV_App_Path§§"), "C:\\§§KV_App_Path§§|C:\\§§KV_App_Path§§");
}

TEST_F(Placeholders, ValuesAreSearchedByLaterEntriesOnly) {
  // InstallPath (entry 2) holding entry 9's token: replaced in turn.
  m.pkg.InstallPath = "C:\\§§KV_App_Name§§";
  EXPECT_EQ(Plain("§§KV_App_Path§§"), "C:\\Gestione Magazzino v.3.1");
  // AppFullName (entry 9) holding entry 2's token: left as it is.
  m.pkg.AppFullName = "Nome §§KV_App_Path§§";
  EXPECT_EQ(Plain("§§KV_App_Name§§"), "Nome §§KV_App_Path§§");
}

TEST_F(Placeholders, UnknownTokensAndLoneSignsPassThrough) {
  for (const char* line : {"§§KV_Foo§§", "§ solo", "§§KV_App_Path§", "§KV_App_Path§§",
                           "§§ KV_App_Path§§", "§§KV_App_Path §§", "§§§§"})
    EXPECT_EQ(Plain(line), line) << line;
  // A sign before a token stays; the token after it is still found.
  EXPECT_EQ(Plain("§§§KV_MDE§§"), "§magazzino.mde");
}

TEST_F(Placeholders, LinesWithoutTokensComeBackIdentical) {
  for (const char* line : {"", "REGEDIT4", "  \"Path\"=\"C:\\\\x\\\" \\\\\"  ", "Città € è",
                           "[HKEY_LOCAL_MACHINE\\Software\\Tessaro]"}) {
    EXPECT_EQ(Plain(line), line);
    EXPECT_EQ(Reg(line), line);
  }
}

TEST_F(Placeholders, NamesAreNeverEscaped) {
  m.pkg.AppFullName = "Prova \"A\\B\" v.1";
  m.pkg.AppShortName = "A\\B\\";
  EXPECT_EQ(Reg("§§KV_App_Name§§;§§KV_SH_Name§§"), "Prova \"A\\B\" v.1;A\\B\\");
}

TEST_F(Placeholders, UnresolvedFoldersBecomeEmpty) {
  m.sys.shell.folders.erase(20);
  EXPECT_EQ(Plain("§§KV_WIN_FONTS_PATH§§\\x.ttf"), "\\x.ttf");
  EXPECT_EQ(Reg("§§KV_WIN_FONTS_PATH§§\\x.ttf"), "\\x.ttf");
  m.sys.registry = fakes::FakeRegistry();
  EXPECT_EQ(Plain("[§§KV_WIN_PRG§§][§§KV_WIN_SHARED_PRG§§]"), "[][]");
  EXPECT_EQ(Reg("[§§KV_WIN_PRG§§][§§KV_WIN_SHARED_PRG§§]"), "[][]");
  EXPECT_EQ(Plain("§§KV_Off_RT_Path§§"), "\\OfficeRT");
  EXPECT_EQ(Reg("§§KV_Off_RT_Path§§"), "\\\\OfficeRT");
}

TEST_F(Placeholders, ValuesAreLookedUpOnEveryCall) {
  EXPECT_EQ(Plain("§§KV_WIN_PRG§§"), "C:\\Programmi");
  m.sys.registry.PutString(kLocalMachine, kCurrentVersion, "ProgramFilesDir", "D:\\Program Files");
  m.pkg.InstallPath = "D:\\Altrove";
  EXPECT_EQ(Plain("§§KV_WIN_PRG§§;§§KV_App_Path§§"), "D:\\Program Files;D:\\Altrove");
}

}  // namespace
}  // namespace tessaro
