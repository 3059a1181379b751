// The installation run in-process on a scratch copy of the sample package,
// through the Win32 layer: files installed, the uninstall script, the
// registry settings imported by the real registry editor and the shortcut
// files. The run stops before the completion box; EndOfSetup, whose end of
// the program is an exception here, runs on its own at the end.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/installation_run.h"
#include "engine/setup_dip.h"
#include "fakes/tag_canvas.h"
#include "in_process.h"
#include "services/special_folders.h"
#include "settings/setup_folder.h"
#include "support.h"
#include "text.h"
#include "win32/wide.h"

namespace tessaro {
namespace {

struct View : InstallationView {
  void SetStatusText(int, const std::string&) override {}
  ProgressCanvas& Bar(int index) override { return bars[index]; }
  bool DesktopShortcutWanted() override { return false; }
  void StopTimer() override {}
  void DisableCancel() override {}
  void ShowWaitingWindow() override {}
  void SetWaitingText(const std::string&) override {}
  void CloseWaitingWindow() override {}
  fakes::TagCanvas bars[2];
};

TEST(InstallationRunOnDisk, InstallsTheSamplePackage) {
  wine::Win32Machine<wine::RecordingUi, Win32Shell, wine::PlatformInSetupFolder> machine;
  auto& [ui, files, registry, shell, processes, platform, sys] = machine;
  InstallerState state;
  InstallerContext cx{sys, state};
  View view;

  const std::string setup = wine_test::make_setup_folder(false);
  platform.programPath = setup + "\\Installer.exe";
  ASSERT_TRUE(CopyFileW(Widen(wine_test::build_path("package\\kv_shell.dll")).c_str(),
                        Widen(platform.programPath).c_str(), FALSE));
  const std::string system = GetSystemFolder(cx.sys);
  ASSERT_TRUE(CopyFileW(Widen(wine_test::standin("fm20.dll")).c_str(),
                        Widen(system + "\\fm20.dll").c_str(), FALSE));
  // Programs planted beside the package under the system tools' names must
  // not be the ones started (the installer runs elevated).
  for (const char* planted : {"\\Regedit.exe", "\\regsvr32.exe"})
    ASSERT_TRUE(CopyFileW(Widen(wine_test::build_path("package\\unplant.dll")).c_str(),
                          Widen(setup + planted).c_str(), FALSE));
  ASSERT_TRUE(files.SetCurrentFolder(setup));
  auto dip = wine_test::read_ansi_text(setup + "\\Setup.dip");
  ASSERT_TRUE(dip);
  ReadSetupDip(*dip, "C:\\Programmi", state.package);
  const std::string dest = wine_test::scratch_folder("InstallationRunOnDisk.dest") + "\\Condominio";
  state.package.InstallPath = dest;
  state.package.ProgramGroup = "Prova Condominio";

  ASSERT_EQ(InstallPackage(cx, view), RunOutcome::Completed);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_FALSE(wine_test::exists(setup + "\\Unplant.log")) << "a planted program ran";

  for (const char* name :
       {"condominio.mde", "condominio.mdw", "leggimi.txt", "Documenti\\guida.txt",
        "Modelli\\modello_verbale.txt", "Install.Log", "Uninstall.ini"})
    EXPECT_TRUE(wine_test::exists(dest + "\\" + name)) << name;
  for (const char* name : {"kv_shell.dll", "Unplant.Exe", "MsVBvm50.dll"})
    EXPECT_TRUE(wine_test::exists(system + "\\" + name)) << name;
  EXPECT_EQ(wine_test::read_file(dest + "\\Install.Log"), std::string());
  // The rollback list, written through its open handle, names the new files.
  auto rollback = wine_test::read_ansi_text(setup + "\\Uninstall.Tmp");
  ASSERT_TRUE(rollback);
  EXPECT_NE(rollback->find(dest + "\\Documenti\\guida.txt\r\n"), std::string::npos) << *rollback;
  // Installed files carry the installer's three times, set on the copy's
  // handle after its last write.
  auto times = [](const std::string& path) {
    FILETIME t[3] = {};
    HANDLE h = CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      GetFileTime(h, &t[0], &t[1], &t[2]);
      CloseHandle(h);
    }
    return std::vector<uint64_t>{(uint64_t{t[0].dwHighDateTime} << 32) | t[0].dwLowDateTime,
                                 (uint64_t{t[1].dwHighDateTime} << 32) | t[1].dwLowDateTime,
                                 (uint64_t{t[2].dwHighDateTime} << 32) | t[2].dwLowDateTime};
  };
  EXPECT_NE(times(platform.programPath)[2], 0u);
  for (const char* name : {"condominio.mde", "Modelli\\modello_verbale.txt"})
    EXPECT_EQ(times(dest + "\\" + name), times(platform.programPath)) << name;
  EXPECT_EQ(wine_test::reg_dword(HKEY_CURRENT_USER, "Software\\Tessaro Test\\fm20", "Registered"),
            1u);

  auto script = wine_test::read_ansi_text(dest + "\\Uninstall.ini");
  ASSERT_TRUE(script);
  LineReader reader(*script);
  std::vector<std::string> lines;
  while (!reader.AtEnd()) lines.push_back(reader.ReadLine());
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[0], "Nome:Contabilità Condominio v.3.2");
  const std::string group = GetSpecialFolder(cx.sys, csidl::Programs) + "Prova Condominio";
  EXPECT_EQ(lines[3], "Program Group: " + group);
  // The database, the two extra shortcuts and the uninstaller, each a file.
  std::vector<std::string> links(lines.begin() + 5, lines.begin() + 9);
  EXPECT_EQ(links, (std::vector<std::string>{"LNK=" + group + "\\Contabilità Condominio v.3.2.Lnk",
                                             "LNK=" + group + "\\Guida rapida.Lnk",
                                             "LNK=" + group + "\\Leggimi.Lnk",
                                             "LNK=" + group + "\\Rimuovi dal sistema.Lnk"}));
  for (const std::string& link : links) EXPECT_TRUE(wine_test::exists(link.substr(4))) << link;
  EXPECT_EQ(lines.back(), "          SystemDB");

  EXPECT_EQ(
      wine_test::reg_string(
          HKEY_LOCAL_MACHINE,
          "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Contabilità Condominio v.3.2",
          "InstallLocation"),
      dest);

  // Between the copy and the end, files\ is swapped for a link to another
  // folder, as any user can do to the setup folder: the end of setup clears
  // the package and leaves what the link leads to whole.
  const std::string elsewhere = wine_test::scratch_folder("InstallationRunOnDisk.elsewhere");
  for (const char* name : {"dati.mdb", "sola lettura.dll"})
    ASSERT_TRUE(CopyFileW(Widen(setup + "\\Setup.dip").c_str(),
                          Widen(elsewhere + "\\" + name).c_str(), FALSE));
  SetFileAttributesW(Widen(elsewhere + "\\sola lettura.dll").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(wine_test::remove_tree(setup + "\\files"));
  ASSERT_TRUE(wine_test::make_folder_link(setup + "\\files", elsewhere));
  state.PackageFound = true;
  EXPECT_THROW(EndOfSetup(cx), std::runtime_error);  // the program's end, in this test
  const std::vector<std::string> left = wine_test::list_files(elsewhere);
  EXPECT_TRUE(wine_test::remove_folder_link(setup + "\\files"));
  EXPECT_EQ(left, (std::vector<std::string>{"dati.mdb", "sola lettura.dll"}));
  EXPECT_FALSE(wine_test::exists(setup + "\\Setup.dip"));
}

}  // namespace
}  // namespace tessaro
