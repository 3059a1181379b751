#include "settings/registry_import.h"

#include <gtest/gtest.h>

#include "errors.h"
#include "settings_machine.h"

namespace tessaro {
namespace {

struct Import : ::testing::Test {
  testing::SettingsMachine m;
  // Settings.reg as the registry editor found it, run by run: the file
  // its command line names.
  std::vector<std::string> seen;
  Import() {
    m.sys.files.AddFolder("C:\\WINNT\\Temp");
    m.sys.processes.program = [this](const std::string& command) {
      const std::string file = command.substr(command.find(" /S ") + 4);
      seen.push_back(m.sys.files.Exists(file) ? m.sys.files.Content(file) : "(missing)");
      return true;
    };
  }
  void Template(const std::string& ansi) { m.sys.files.WriteAll("C:\\Setup\\Settings.lrk", ansi); }
  std::string Output() { return seen.empty() ? "(not run)" : seen.back(); }
};

TEST_F(Import, TemplateBecomesAnImportFileAndTheEditorRunsOnIt) {
  m.pkg.InstallPath = "C:\\Programmi\\Gestione";
  Template(
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\\xA7\xA7KV_SH_Name\xA7\xA7\\\xA7\xA7kv_version\xA7\xA7]\r\n"
      "\"Path\"=\"\xA7\xA7KV_App_Path\xA7\xA7\\\\Dati\"\r\n"
      "\"Nome\"=\"\xA7\xA7KV_App_Name\xA7\xA7\"\r\n");
  // A file of that name planted in the setup folder is not what is imported.
  m.sys.files.WriteAll("C:\\Setup\\Settings.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\x]\r\n");
  ImportRegistrySettings(m.cx);

  const std::string expected =
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Magazzino\\3.1]\r\n"
      "\"Path\"=\"C:\\\\Programmi\\\\Gestione\\\\Dati\"\r\n"
      "\"Nome\"=\"Gestione Magazzino v.3.1\"\r\n";
  EXPECT_EQ(Output(), expected);  // complete before the editor started
  // Written into a folder of the run's own, by its full path, and removed
  // with the folder once the editor has ended.
  ASSERT_EQ(m.sys.files.privateFolders, std::vector<std::string>{"C:\\WINNT\\Temp\\Privata1"});
  EXPECT_EQ(m.sys.processes.started,
            std::vector<std::string>{
                "C:\\WINNT\\Regedit.exe /S C:\\WINNT\\Temp\\Privata1\\Settings.reg"});
  EXPECT_FALSE(m.sys.files.Exists("C:\\WINNT\\Temp\\Privata1"));

  // As a 32-bit program on 64-bit Windows: the 32-bit editor, quoted when
  // its folder has a blank.
  m.sys.shell.wow64SystemFolder = "D:\\Sistema Windows\\SysWOW64";
  ImportRegistrySettings(m.cx);
  EXPECT_EQ(m.sys.processes.started.back(),
            "\"D:\\Sistema Windows\\SysWOW64\\Regedit.exe\" /S "
            "C:\\WINNT\\Temp\\Privata1\\Settings.reg");
  EXPECT_EQ(Output(), expected);
}

TEST_F(Import, EmptyTemplateGivesAnEmptyFileAndStillRunsTheEditor) {
  Template("");
  ImportRegistrySettings(m.cx);
  EXPECT_EQ(Output(), "");
  EXPECT_EQ(m.sys.processes.started.size(), 1u);
}

TEST_F(Import, LinesWithoutTokensAreCopiedAndEndInCrLf) {
  // Spaces, quotes, escapes and accented letters stay; any line end becomes
  // CR LF, and a last line without one gets it.
  Template("  REGEDIT4  \n\"A\"=\"x\\\\y \\\"z\\\"\"\r\"Citt\xE0\"=\"perch\xE9 \x80\"\r\n\tfine");
  ImportRegistrySettings(m.cx);
  EXPECT_EQ(Output(),
            "  REGEDIT4  \r\n\"A\"=\"x\\\\y \\\"z\\\"\"\r\n\"Citt\xE0\"=\"perch\xE9 "
            "\x80\"\r\n\tfine\r\n");
}

TEST_F(Import, ValuesAreWrittenInTheAnsiCodePage) {
  m.pkg.InstallPath = "D:\\Contabilit\u00E0";
  m.pkg.AppFullName = "Contabilit\u00E0 \u20AC";
  Template("\"P\"=\"\xA7\xA7KV_App_Path\xA7\xA7\"\r\n\"N\"=\"\xA7\xA7KV_App_Name\xA7\xA7\"\r\n");
  ImportRegistrySettings(m.cx);
  EXPECT_EQ(Output(), "\"P\"=\"D:\\\\Contabilit\xE0\"\r\n\"N\"=\"Contabilit\xE0 \x80\"\r\n");
}

TEST_F(Import, ASecondRunImportsAgainAndWithoutATempFolderTheWindowsFolderServes) {
  Template("REGEDIT4\r\n");
  ImportRegistrySettings(m.cx);
  ASSERT_TRUE(m.sys.files.RemoveFolder("C:\\WINNT\\Temp"));
  ImportRegistrySettings(m.cx);
  EXPECT_EQ(seen, (std::vector<std::string>{"REGEDIT4\r\n", "REGEDIT4\r\n"}));
  EXPECT_EQ(m.sys.files.privateFolders,
            (std::vector<std::string>{"C:\\WINNT\\Temp\\Privata1", "C:\\WINNT\\Privata1"}));
  EXPECT_EQ(m.sys.files.Names("C:\\WINNT"), std::vector<std::string>{});
}

TEST_F(Import, MissingTemplateIsAnErrorForTheCaller) {
  try {
    ImportRegistrySettings(m.cx);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::FileNotFound);
  }
  EXPECT_TRUE(m.sys.files.privateFolders.empty());
  EXPECT_TRUE(m.sys.processes.started.empty());
}

TEST_F(Import, UnwritableOutputStopsBeforeTheEditor) {
  Template("REGEDIT4\r\n");
  m.sys.files.Inject(fakes::FakeOp::Write, 1, {FileFault::Failed, fakes::code::DiskFull});
  try {
    ImportRegistrySettings(m.cx);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::PathFileAccess);
  }
  EXPECT_TRUE(m.sys.processes.started.empty());
  // Its folder goes all the same.
  EXPECT_EQ(m.sys.files.Names("C:\\WINNT\\Temp"), std::vector<std::string>{});
}

}  // namespace
}  // namespace tessaro
