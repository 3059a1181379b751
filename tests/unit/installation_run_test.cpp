#include "engine/installation_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/file_list.h"
#include "engine/setup_dip.h"
#include "exit_codes.h"
#include "fakes/fakes.h"
#include "fakes/tag_canvas.h"
#include "services/file_version.h"
#include "text.h"
#include "texts.h"
#include "unattended/silent_run.h"
#include "unattended/transcript.h"
#include "unattended/unattended_ui.h"
#include "wizard/quit.h"

namespace tessaro {
namespace {

using fakes::FakeOp;
using fakes::ProgramEnded;

TEST(FileListLine, SkipsCommentsBlanksAndLinesWithoutRoomForTheFlag) {
  for (const char* line : {"", "; commento;1", "senza punto e virgola", "a;1", "a;"})
    EXPECT_FALSE(ParseFileListLine(line, "D:").has_value()) << line;
}

TEST(FileListLine, FolderGetsTheDestinationDriveAndATrailingBackslash) {
  auto onDrive = ParseFileListLine("shared.dll;\\Windows\\System;0", "D:");
  ASSERT_TRUE(onDrive);
  EXPECT_EQ(onDrive->name, "shared.dll");
  EXPECT_EQ(onDrive->folder, "D:\\Windows\\System\\");

  auto written = ParseFileListLine("a.mde;C:\\Programmi\\Archivio\\;1", "D:");
  ASSERT_TRUE(written);
  EXPECT_EQ(written->folder, "C:\\Programmi\\Archivio\\");

  // No folder at all: the destination drive's root.
  auto bare = ParseFileListLine("a.txt;;1", "D:");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->folder, "D:\\");
}

TEST(FileListLine, OnlyDigitsOneToNineAllowReplacing) {
  const std::map<std::string, bool> flags = {{"1", true},  {"9", true},  {"0", false},
                                             {"a", false}, {" ", false}, {"à", false}};
  for (const auto& [flag, replace] : flags) {
    auto entry = ParseFileListLine("città.txt;C:\\Dati;" + flag, "D:");
    ASSERT_TRUE(entry) << flag;
    EXPECT_EQ(entry->mayReplace, replace) << flag;
    // The separator and flag are characters, not bytes.
    EXPECT_EQ(entry->folder, "C:\\Dati\\") << flag;
    EXPECT_EQ(entry->name, "città.txt");
  }
}

// The copy page, the check box and the waiting window, as a log of calls.
struct RecordingView : InstallationView {
  void SetStatusText(int index, const std::string& text) override {
    if (index == 0) copying = text;
  }
  ProgressCanvas& Bar(int index) override { return bars[index]; }
  bool DesktopShortcutWanted() override { return desktop; }
  void StopTimer() override { events.push_back("timer off"); }
  void DisableCancel() override { events.push_back("cancel off"); }
  void ShowWaitingWindow() override { events.push_back("waiting shown"); }
  void SetWaitingText(const std::string& text) override { events.push_back(text); }
  void CloseWaitingWindow() override { events.push_back("waiting closed"); }
  fakes::TagCanvas bars[2];
  bool desktop = true;
  std::vector<std::string> events;
  std::string copying;  // status label 0
};

// The quit dialog answered «Uscita».
struct ExitingQuit : QuitView {
  explicit ExitingQuit(InstallerContext& cx) : cx(cx) {}
  void ShowQuitDialog() override { ExitSetupClick(cx); }
  void ShowWaitingWindow() override {}
  void SetWaitingText(const std::string&) override {}
  void CloseWaitingWindow() override {}
  InstallerContext& cx;
};

// As the run names it: Windows' answer in lower case.
constexpr const char* kSystem = "c:\\windows\\system32";
constexpr const char* kDest = "C:\\Programmi\\Archivio";

// A machine with a complete package in C:\Setup and the destination chosen.
struct RunMachine {
  fakes::FakeSystem sys;
  InstallerState state;
  InstallerContext cx{sys.services(), state};
  RecordingView view;

  explicit RunMachine(const std::string& program = "archivio.exe",
                      const std::string& database = "archivio.mde") {
    const std::string dip =
        "Nome:Archivio Clienti v.2.0\r\n"
        "Descrizione lunga:Gestione archivio\r\n"
        "Nome breve  :Archivio\r\n"
        "Gruppo progr.:Gruppo del pacchetto\r\n"
        "Versione2.0\r\n"
        "Cartella app:Archivio\r\n"
        "Dimensione:100\r\n"
        "Program.:" +
        program +
        "\r\n"
        "Database:" +
        database +
        "\r\n"
        "Sicur.  :archivio.mdw\r\n"
        "Icona   :archivio.ico\r\n"
        "Nome  :Leggimi\r\n"
        "File  :doc\\leggimi.txt\r\n"
        "Icona :leggimi.ico\r\n";
    auto& fs = sys.files;
    sys.platform.programPath = "C:\\Setup\\Installer.exe";
    fs.AddFile("C:\\Setup\\Installer.exe", "MZ");
    fs.SetTimes("C:\\Setup\\Installer.exe",
                {125574951000000000ull, 125574951000000000ull, 125574951000000000ull});
    for (const char* name :
         {"Licence.txt", "Welcome.txt", "unplant.dll", "kv_shell.dll", "MsVBvm50.dll"})
      fs.AddFile(std::string("C:\\Setup\\") + name, "x");
    fs.AddFile("C:\\Setup\\Setup.dip", dip);
    fs.AddFile("C:\\Setup\\Settings.lrk", "REGEDIT4\r\n");
    fs.AddFile("C:\\Setup\\Setup.ftc", sys.platform.ToAnsi("; file da installare\r\n"
                                                           "archivio.mde;§§KV_App_Path§§;1\r\n"
                                                           "\r\n"
                                                           "archivio.mdw;§§KV_App_Path§§;0\r\n"
                                                           "mancante.txt;§§KV_App_Path§§;1\r\n"
                                                           "leggimi.txt;\\Comuni\\Archivio;1\r\n"));
    for (const char* name : {"archivio.mde", "archivio.mdw", "leggimi.txt"})
      fs.AddFile(std::string("C:\\Setup\\files\\") + name, "nuovo");
    fs.AddFolder(kSystem);
    fs.AddFolder("C:\\WINDOWS\\Temp");
    fs.AddFile(std::string(kSystem) + "\\fm20.dll", "x");
    fs.AddFolder("C:\\Menu\\Programmi");
    fs.AddFolder("C:\\Desktop");
    sys.shell.folders = {{0, "C:\\Desktop"}, {2, "C:\\Menu\\Programmi"}};
    sys.registry.PutString(0x80000002u, "Software\\Microsoft\\Windows\\CurrentVersion",
                           "ProgramFilesDir", "C:\\Programmi");
    sys.platform.locale[0x1D] = "/";
    sys.processes.program = [](const std::string&) { return true; };
    sys.processes.entryPoint = [](const std::string&, const std::string&) { return 0; };
    ReadSetupDip(dip, "C:\\Programmi", state.package);
    state.package.ProgramGroup = "Gruppo scelto";
  }

  std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    LineReader reader(sys.platform.FromAnsi(sys.files.Content(path)));
    while (!reader.AtEnd()) lines.push_back(reader.ReadLine());
    return lines;
  }
  std::string Script() { return std::string(kDest) + "\\Uninstall.ini"; }
};

TEST(InstallationRun, WritesTheUninstallScriptWithEveryShortcutInOrder) {
  RunMachine m;
  ASSERT_EQ(InstallPackage(m.cx, m.view), RunOutcome::Completed);
  EXPECT_TRUE(m.state.Installing);

  const std::string group = "C:\\Menu\\Programmi\\Gruppo scelto\\";
  const std::vector<std::string> expected = {
      "Nome:Archivio Clienti v.2.0",
      "Descrizione lunga:Gestione archivio",
      "Nome breve  :Archivio",
      "Program Group: C:\\Menu\\Programmi\\Gruppo scelto",
      "Versione2.0",
      "LNK=" + group + "Archivio Clienti v.2.0.Lnk",
      "LNK=C:\\Desktop\\Archivio Clienti v.2.0.Lnk",
      "LNK=" + group + "Archivio Clienti v.2.0.Lnk",
      "LNK=C:\\Desktop\\Archivio Clienti v.2.0.Lnk",
      "LNK=" + group + "Leggimi.Lnk",
      "LNK=" + group + "Rimuovi dal sistema.Lnk",
      "",
      ";[REMOVE]",
      "07/12/1998 9.5.0",
      "",
      ";[REGISTRY SECTION]",
      "RemoveKey:LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
      "Archivio Clienti v.2.0",
      "RemoveVal:LOCAL_MACHINE\\Software\\Microsoft\\Office\\8.0\\Access\\Profiles",
      "          Archivio Clienti v.2.0",
      "RemoveVal:LOCAL_MACHINE\\Software\\Microsoft\\Access Runtime\\8.0\\Profiles",
      "          Archivio Clienti v.2.0",
      "RemoveVal:LOCAL_MACHINE\\Software\\Archivio\\Archivio Clienti v.2.0\\2.0\\Jet\\3.5\\Engines",
      "          SystemDB",
  };
  EXPECT_EQ(m.Lines(m.Script()), expected);

  // Targets, arguments and icons, in creation order.
  const auto& links = m.sys.shell.shortcuts;
  ASSERT_EQ(links.size(), 6u);
  const std::string dest = kDest;
  EXPECT_EQ(links[0].target, dest + "\\archivio.exe");
  EXPECT_EQ(links[0].arguments, "");
  EXPECT_EQ(links[0].iconFile, dest + "\\archivio.ico");
  EXPECT_EQ(links[2].target, "C:\\Programmi\\OfficeRT\\MSACCESS.EXE");
  EXPECT_EQ(links[2].arguments, " /wrkgrp \"" + dest + "\\archivio.mdw\" \"" + dest +
                                    "\\archivio.mde\" /user utente /runtime");
  EXPECT_EQ(links[3].arguments, links[2].arguments);
  EXPECT_EQ(links[4].target, dest + "\\doc\\leggimi.txt");
  EXPECT_EQ(links[4].iconFile, dest + "\\leggimi.ico");
  EXPECT_EQ(links[5].target, std::string(kSystem) + "\\unplant.exe");
  EXPECT_EQ(links[5].arguments, "/" + dest);
  EXPECT_EQ(links[5].iconFile, links[5].target);
}

TEST(InstallationRun, WithoutProgramDatabaseOrDesktopOnlyGroupShortcutsAreMade) {
  RunMachine m("", "");
  m.view.desktop = false;
  ASSERT_EQ(InstallPackage(m.cx, m.view), RunOutcome::Completed);
  std::vector<std::string> names;
  for (const auto& link : m.sys.shell.shortcuts) names.push_back(link.path);
  EXPECT_EQ(names, (std::vector<std::string>{
                       "C:\\Menu\\Programmi\\Gruppo scelto\\Leggimi.Lnk",
                       "C:\\Menu\\Programmi\\Gruppo scelto\\Rimuovi dal sistema.Lnk"}));
  const auto lines = m.Lines(m.Script());
  EXPECT_EQ(lines[5], "LNK=C:\\Menu\\Programmi\\Gruppo scelto\\Leggimi.Lnk");
  EXPECT_EQ(lines[7], "");

  // A desktop that Windows cannot name: those shortcuts are left out, the
  // rest of the run goes on to the end of the uninstall script.
  RunMachine noDesktop;
  noDesktop.sys.shell.folders.erase(0);
  ASSERT_EQ(InstallPackage(noDesktop.cx, noDesktop.view), RunOutcome::Completed);
  EXPECT_EQ(noDesktop.sys.shell.shortcuts.size(), 4u);
  ASSERT_EQ(noDesktop.sys.ui.boxes.size(), 1u);  // told once for both
  EXPECT_EQ(noDesktop.sys.ui.boxes[0].icon, MsgIcon::Exclamation);
  const auto script = noDesktop.Lines(noDesktop.Script());
  EXPECT_EQ(std::count_if(script.begin(), script.end(),
                          [](const std::string& l) { return l.find("Desktop") != std::string::npos; }),
            0);
  EXPECT_EQ(script.back(), "          SystemDB");
}

// Every new file is listed once the copy has created it, before its first
// byte (a cancel mid-copy must remove the part written); files that were
// there before never are, hidden ones included, and a missing source
// creates nothing.
TEST(InstallationRun, LogsFailuresAndListsNewFilesForRollbackBeforeCopying) {
  RunMachine m;
  // Hidden files of the user's: one kept by its flag 0, one replaced whole.
  m.sys.files.AddFile(std::string(kDest) + "\\archivio.mdw", "vecchio",
                      attr::Hidden | attr::ReadOnly);
  m.sys.files.AddFile("C:\\Comuni\\Archivio\\leggimi.txt", "vecchio", attr::Hidden);
  // A link planted at the list's name goes as itself; what it points at stays.
  m.sys.files.AddFile("C:\\WINDOWS\\SYSTEM\\config\\sam", "di sistema");
  m.sys.files.AddLink("C:\\Setup\\Uninstall.Tmp", "C:\\WINDOWS\\SYSTEM\\config");
  std::vector<bool> listedBeforeFirstByte;
  m.sys.ui.onPump = [&] {
    listedBeforeFirstByte.push_back(
        m.sys.files.Content("C:\\Setup\\Uninstall.Tmp").find("archivio.mde") != std::string::npos);
  };
  ASSERT_EQ(InstallPackage(m.cx, m.view), RunOutcome::Completed);

  EXPECT_EQ(m.Lines(std::string(kDest) + "\\Install.Log"),
            std::vector<std::string>{"File non copiato: mancante.txt"});
  EXPECT_EQ(m.Lines("C:\\Setup\\Uninstall.Tmp"),
            std::vector<std::string>{std::string(kDest) + "\\archivio.mde"});
  EXPECT_EQ(m.sys.files.Content("C:\\WINDOWS\\SYSTEM\\config\\sam"), "di sistema");
  ASSERT_FALSE(listedBeforeFirstByte.empty());
  EXPECT_TRUE(listedBeforeFirstByte.front());
  EXPECT_EQ(m.sys.files.Content(std::string(kDest) + "\\archivio.mdw"), "vecchio");
  EXPECT_EQ(m.sys.files.GetAttributes(std::string(kDest) + "\\archivio.mdw"),
            attr::Hidden | attr::ReadOnly);
  EXPECT_TRUE(m.sys.files.pendingRenames.empty());
  EXPECT_FALSE(m.state.RestartNeeded);
  EXPECT_EQ(m.sys.files.Content("C:\\Comuni\\Archivio\\leggimi.txt"), "nuovo");
  // Every installed file, in either folder, carries the installer's times.
  for (const std::string& path :
       {std::string(kDest) + "\\archivio.mde", std::string("C:\\Comuni\\Archivio\\leggimi.txt")}) {
    auto times = m.sys.files.GetTimes(path);
    ASSERT_TRUE(times) << path;
    EXPECT_EQ(times->created, 125574951000000000ull) << path;
    EXPECT_EQ(times->lastWrite, 125574951000000000ull) << path;
  }
}

TEST(InstallationRun, ComponentsAreRegisteredFromTheSystemFolderBeforeTheRegistryPhase) {
  RunMachine m;
  ASSERT_EQ(InstallPackage(m.cx, m.view), RunOutcome::Completed);
  EXPECT_EQ(m.sys.processes.entryCalls,
            (std::vector<std::string>{std::string(kSystem) + "\\kv_shell.dll!DllRegisterServer",
                                      std::string(kSystem) + "\\fm20.dll!DllRegisterServer"}));
  for (const char* name : {"kv_shell.dll", "Unplant.Exe", "MsVBvm50.dll"})
    EXPECT_TRUE(m.sys.files.Exists(std::string(kSystem) + "\\" + name)) << name;
  EXPECT_EQ(m.view.events,
            (std::vector<std::string>{"timer off", "waiting shown", "cancel off",
                                      "Creazione del gruppo di icone...", "waiting closed"}));
  EXPECT_EQ(m.sys.processes.started,
            std::vector<std::string>{
                "C:\\WINDOWS\\Regedit.exe /S C:\\WINDOWS\\Temp\\Privata1\\Settings.reg"});
  // Both bars end full.
  ASSERT_FALSE(m.view.bars[0].tags.empty() || m.view.bars[1].tags.empty());
  EXPECT_EQ(m.view.bars[0].tags.back(), "100");
  EXPECT_EQ(m.view.bars[1].tags.back(), "100");
  // The arrow with the hourglass for the whole run: cancelling stays possible.
  EXPECT_EQ(m.sys.ui.workingHistory, (std::vector<bool>{true, false}));
  EXPECT_TRUE(m.sys.ui.pointerHistory.empty());
}

// The system folder's components are shared: a newer one is kept, one in use
// stays, and one is replaced only by a whole copy moved over it, so a copy
// that fails leaves the old one there and the run goes on with it.
TEST(InstallationRun, ComponentsAreNeverDowngradedAndAFailedCopyKeepsTheOldOne) {
  const std::string system = std::string(kSystem) + "\\";
  auto versioned = [](fakes::FakeFileSystem& files, const std::string& path, const char* version) {
    std::map<std::string, std::string> strings;
    for (const char* name : kVersionInfoNames) strings[name] = "x";
    strings["FileVersion"] = version;
    files.SetVersionStrings(path, strings);
  };
  for (int failingWrite : {0, 1}) {  // the first copy is the uninstaller's
    SCOPED_TRACE(failingWrite);
    RunMachine m;
    m.sys.files.AddFile(system + "MsVBvm50.dll", "in uso");
    m.sys.files.Lock(system + "MsVBvm50.dll");
    m.sys.files.AddFile(system + "kv_shell.dll", "più recente");
    versioned(m.sys.files, system + "kv_shell.dll", "5.1");
    versioned(m.sys.files, "C:\\Setup\\kv_shell.dll", "5.0.3");
    m.sys.files.AddFile(system + "Unplant.Exe", "vecchio", attr::ReadOnly);
    m.sys.files.Inject(FakeOp::Write, failingWrite, {FileFault::Failed, fakes::code::DiskFull});
    EXPECT_EQ(InstallPackage(m.cx, m.view), RunOutcome::Completed);
    EXPECT_TRUE(m.sys.ui.boxes.empty());
    EXPECT_EQ(m.sys.files.Content(system + "kv_shell.dll"), "più recente");
    EXPECT_EQ(m.sys.files.Content(system + "MsVBvm50.dll"), "in uso");
    EXPECT_EQ(m.sys.files.Content(system + "Unplant.Exe"), failingWrite ? "vecchio" : "x");
    auto names = m.sys.files.Names(kSystem);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"MsVBvm50.dll", "Unplant.Exe", "fm20.dll",
                                               "kv_shell.dll"}));
  }
}

// The run's way out: the box shown, whether the setup folder was cleared,
// and whether Windows was asked to restart.
struct Ending {
  std::vector<std::string> boxes;
  bool setupCleared;
  bool restartRequested;
  bool scriptWritten;
  int exitCode = -1;
};

Ending RunToTheEnd(RunMachine& m) {
  int code = -1;
  try {
    RunInstallation(m.cx, m.view);
  } catch (const ProgramEnded& ended) {
    code = ended.code;
  }
  Ending end{{},
             !m.sys.files.Exists("C:\\Setup\\Setup.dip"),
             !m.sys.platform.exitRequests.empty(),
             m.sys.files.Exists(m.Script()),
             code};
  for (const auto& box : m.sys.ui.boxes) end.boxes.push_back(box.text);
  return end;
}

TEST(InstallationRun, ComponentFailuresEndThroughEndOfSetupBeforeTouchingTheDestination) {
  const std::string shellError =
      "Si è verificato un errore per il file KV_SHELL.DLL. L'installazione sarà terminata.";
  {
    RunMachine m;
    m.sys.processes.entryPoint = [](const std::string&, const std::string&) { return 1; };
    Ending end = RunToTheEnd(m);
    EXPECT_EQ(end.boxes, std::vector<std::string>{shellError});
    EXPECT_EQ(m.sys.ui.beeps, 0);
    EXPECT_TRUE(end.setupCleared);
    EXPECT_FALSE(end.scriptWritten);
    EXPECT_EQ(end.exitCode, 1603);
    EXPECT_EQ(m.sys.ui.boxes[0].title, "Archivio setup");
    EXPECT_EQ(m.sys.ui.boxes[0].icon, MsgIcon::Critical);
  }
  {
    RunMachine m;
    m.sys.files.Delete("C:\\Setup\\unplant.dll");
    Ending end = RunToTheEnd(m);
    EXPECT_EQ(end.boxes, std::vector<std::string>{"Si è verificato un errore per il file "
                                                  "Unplant.EXE. L'installazione sarà terminata."});
    EXPECT_EQ(m.sys.ui.beeps, 1);
    EXPECT_TRUE(end.setupCleared);
    EXPECT_FALSE(end.scriptWritten);
  }
}

TEST(InstallationRun, FormsLibraryFailureEndsAtOnceLeavingTheSetupFolder) {
  for (bool present : {false, true}) {
    RunMachine m;
    if (present)
      m.sys.processes.entryPoint = [](const std::string& library, const std::string&) {
        return library.find("fm20") != std::string::npos ? 5 : 0;
      };
    else
      m.sys.files.Delete(std::string(kSystem) + "\\fm20.dll");
    Ending end = RunToTheEnd(m);
    EXPECT_EQ(end.boxes, std::vector<std::string>{"Si è verificato un errore per il file "
                                                  "FM20.DLL. L'installazione sarà terminata."});
    EXPECT_EQ(m.sys.ui.beeps, present ? 0 : 1);
    EXPECT_FALSE(end.setupCleared);
    EXPECT_EQ(end.exitCode, 1603);
    EXPECT_TRUE(m.sys.processes.started.empty()) << "no registry import";
  }
}

TEST(InstallationRun, CompletionOffersTheRestartOnlyWhenAFileWaits) {
  {
    RunMachine m;
    Ending end = RunToTheEnd(m);
    EXPECT_EQ(end.boxes, std::vector<std::string>{"Installazione completata."});
    EXPECT_EQ(m.sys.ui.boxes[0].icon, MsgIcon::Information);
    EXPECT_TRUE(end.setupCleared);
    EXPECT_FALSE(end.restartRequested);
    EXPECT_EQ(end.exitCode, 0);
  }
  for (MsgAnswer answer : {MsgAnswer::Ok, MsgAnswer::Cancel}) {
    RunMachine m;
    m.sys.files.AddFile(std::string(kDest) + "\\archivio.mde", "vecchio");
    m.sys.files.Lock(std::string(kDest) + "\\archivio.mde");
    m.sys.ui.answers = {answer};
    m.state.NoRestart = answer == MsgAnswer::Cancel;  // only a silent run heeds it
    Ending end = RunToTheEnd(m);
    ASSERT_EQ(end.boxes.size(), 1u);
    EXPECT_EQ(end.boxes[0],
              "L'INSTALLAZIONE E' STATA COMPLETATA!\r\n\r\nPer rendere effettive le modifiche "
              "occorre RIAVVIARE il sistema.\r\nPer RIAVVIARE Windows adesso scegliere «OK».");
    EXPECT_EQ(m.sys.ui.boxes[0].buttons, MsgButtons::OkCancel);
    // Unattended, Windows restarts unless /NORESTART.
    EXPECT_EQ(m.sys.ui.boxes[0].unattended, answer);
    EXPECT_EQ(m.state.RestartNeeded, answer == MsgAnswer::Ok);
    EXPECT_EQ(end.restartRequested, answer == MsgAnswer::Ok);
    // Restarting: 1641; declined: 3010, installed but not yet complete.
    EXPECT_EQ(end.exitCode, answer == MsgAnswer::Ok ? 1641 : 3010);
    EXPECT_EQ(m.Lines(std::string(kDest) + "\\Install.Log"),
              (std::vector<std::string>{"File non copiato: archivio.mde",
                                        "File non copiato: mancante.txt"}));
  }
  // Cancelled after the file was left for the next start: the replacement
  // is taken back (copy, Windows' list, wininit.ini as it was), and a
  // cancelled installation never restarts Windows.
  for (bool wininitBefore : {false, true}) {
    RunMachine m;
    const std::string wininit = "C:\\WINDOWS\\wininit.ini";
    if (wininitBefore) m.sys.files.AddFile(wininit, "[boot]\r\nshell=Explorer.exe");
    m.sys.files.AddFile(std::string(kDest) + "\\archivio.mde", "vecchio");
    m.sys.files.Lock(std::string(kDest) + "\\archivio.mde");
    ExitingQuit quit{m.cx};
    bool cancelled = false;
    m.sys.ui.onPump = [&] {
      if (cancelled || m.view.copying != "Copia di leggimi.txt") return;
      cancelled = true;
      ASSERT_EQ(m.sys.files.pendingRenames.size(), 1u);
      ASSERT_TRUE(m.state.RestartNeeded);
      CancelSetup(m.cx, quit);
    };
    Ending end = RunToTheEnd(m);
    EXPECT_EQ(end.boxes, std::vector<std::string>{"Installazione interrotta dall'Utente."});
    EXPECT_FALSE(end.restartRequested);
    EXPECT_EQ(end.exitCode, 1602);
    EXPECT_TRUE(m.sys.files.pendingRenames.empty());
    EXPECT_EQ(m.sys.files.Exists(wininit), wininitBefore);
    if (wininitBefore) {
      EXPECT_EQ(m.sys.files.Content(wininit), "[boot]\r\nshell=Explorer.exe");
    }
    EXPECT_FALSE(m.sys.files.Exists(std::string(kDest) + "\\archivio.000"));
    EXPECT_EQ(m.sys.files.Content(std::string(kDest) + "\\archivio.mde"), "vecchio");
  }
}

// The sample package of samples/package in C:\Setup, on RunMachine's machine,
// with files of the user's already in the destination, most of them hidden:
// leggimi.txt, which the package replaces, condominio.mdw (read-only too)
// and modello_verbale.txt, which it keeps, and one it does not know of.
struct SampleMachine : RunMachine {
  static constexpr const char* kDest = "C:\\Programmi\\Condominio";
  std::map<std::string, std::string> package;  // files\ by name
  struct UserFile {
    std::string bytes;
    uint32_t attributes;
  };
  const std::map<std::string, UserFile> users = {
      {std::string(kDest) + "\\leggimi.txt", {"appunti dell'utente", attr::Hidden}},
      {std::string(kDest) + "\\condominio.mdw",
       {"gruppo di lavoro dell'utente", attr::Hidden | attr::ReadOnly}},
      {std::string(kDest) + "\\Modelli\\modello_verbale.txt",
       {"verbale dell'utente", attr::Hidden}},
      {std::string(kDest) + "\\Lettera.doc", {"lettera", attr::Archive}}};
  // Every file the package installs here, and its name in files\.
  const std::vector<std::pair<std::string, std::string>> installs = {
      {std::string(kDest) + "\\condominio.mde", "condominio.mde"},
      {std::string(kDest) + "\\condominio.ico", "condominio.ico"},
      {std::string(kDest) + "\\leggimi.txt", "leggimi.txt"},
      {std::string(kDest) + "\\Documenti\\guida.txt", "guida.txt"},
      {"C:\\Programmi\\File comuni\\Condominio\\guida.txt", "guida.txt"}};

  SampleMachine() {
    namespace fs = std::filesystem;
    for (const char* name : {"archivio.mde", "archivio.mdw", "leggimi.txt"})
      sys.files.Delete(std::string("C:\\Setup\\files\\") + name);
    const fs::path root = TESSARO_SAMPLE_PACKAGE;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), {}};
      std::string relative = fs::relative(entry.path(), root).generic_string();
      std::replace(relative.begin(), relative.end(), '/', '\\');
      sys.files.AddFile("C:\\Setup\\" + relative, bytes);
      if (relative.rfind("files\\", 0) == 0) package[relative.substr(6)] = bytes;
    }
    sys.registry.PutString(0x80000002u, "Software\\Microsoft\\Windows\\CurrentVersion",
                           "CommonFilesDir", "C:\\Programmi\\File comuni");
    state.package = {};
    ReadSetupDip(sys.platform.FromAnsi(sys.files.Content("C:\\Setup\\Setup.dip")), "C:\\Programmi",
                 state.package);
    state.PackageFound = true;
    for (const auto& [path, file] : users) sys.files.AddFile(path, file.bytes, file.attributes);
  }

  // The whole run to the program's end; its exit code, or -1 when it did not end.
  int Run() {
    try {
      RunInstallation(cx, view);
    } catch (const ProgramEnded& end) {
      return end.code;
    } catch (const std::exception& e) {
      ADD_FAILURE() << "escaped the run: " << e.what();
    }
    return -1;
  }
  // The user's files are as they were; the one the package replaces may
  // hold the package's copy instead, whole.
  void ExpectUsersFilesIntact() {
    for (const auto& [path, file] : users) {
      const std::string now = sys.files.Content(path);
      if (path.find("leggimi") != std::string::npos && now == package["leggimi.txt"]) continue;
      EXPECT_EQ(now, file.bytes) << path;
      EXPECT_EQ(sys.files.GetAttributes(path), file.attributes) << path;
    }
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const auto& box : sys.ui.boxes) texts.push_back(box.text);
    return texts;
  }
  // Files the run left in the destination, the shared folder and the system
  // folder that are neither installed nor the user's nor the run's own
  // records nor a copy waiting for the next start: part-written copies that
  // were to go.
  std::vector<std::string> Strays() {
    std::set<std::string> known = {std::string(kDest) + "\\Uninstall.ini",
                                   std::string(kDest) + "\\Install.Log"};
    for (const auto& [path, name] : installs) known.insert(path);
    for (const auto& [path, file] : users) known.insert(path);
    for (const char* name : {"fm20.dll", "kv_shell.dll", "Unplant.Exe", "MsVBvm50.dll"})
      known.insert(std::string(kSystem) + "\\" + name);
    for (const auto& [from, to] : sys.files.pendingRenames) known.insert(from);
    std::vector<std::string> strays;
    std::function<void(const std::string&)> walk = [&](const std::string& folder) {
      for (const std::string& name : sys.files.Names(folder)) {
        const std::string path = folder + "\\" + name;
        if (sys.files.GetAttributes(path).value_or(0) & attr::Directory)
          walk(path);
        else if (!known.count(path))
          strays.push_back(path);
      }
    };
    for (const char* folder : {kDest, "C:\\Programmi\\File comuni", kSystem}) walk(folder);
    return strays;
  }
};

// Every file operation of a whole installation of the sample package is made
// to fail in turn, once each. Whatever fails, nothing escapes the run, the
// user's files survive, and the run either completes with every file
// installed whole or listed in Install.Log, or tells the user and ends as failed.
TEST(InstallationFaults, NoSingleFailingFileOperationGoesUntoldOrCostsTheUsersFiles) {
  const std::string script = std::string(SampleMachine::kDest) + "\\Uninstall.ini";
  std::vector<std::string> shortcuts;  // of the clean run
  int runs = 0;
  for (const fakes::FakeFaultKind& kind : fakes::kFakeFaultKinds) {
    int count = 0;
    {
      SampleMachine clean;
      clean.sys.files.Inject(kind, 0);
      ASSERT_EQ(clean.Run(), 0);
      count = clean.sys.files.Operations(kind.op);
      ASSERT_EQ(clean.Texts(), std::vector<std::string>{"Installazione completata."});
      for (const auto& [path, name] : clean.installs)
        ASSERT_EQ(clean.sys.files.Content(path), clean.package[name]) << path;
      shortcuts.clear();
      for (const auto& link : clean.sys.shell.shortcuts) shortcuts.push_back(link.path);
    }
    for (int n = 1; n <= count; ++n) {
      SCOPED_TRACE("operation kind " + std::to_string(int(kind.op)) + ", fault " +
                   std::to_string(int(kind.fault)) + (kind.persists ? " from" : "") +
                   " n = " + std::to_string(n));
      SampleMachine m;
      m.sys.files.Inject(kind, n);
      const int code = m.Run();
      m.ExpectUsersFilesIntact();
      // Nothing part-written is left behind.
      EXPECT_EQ(m.Strays(), std::vector<std::string>{});
      const std::vector<std::string> texts = m.Texts();
      if (texts.empty()) {
        ADD_FAILURE() << "the user was told nothing";
        continue;
      }
      const bool completed = texts.back() == "Installazione completata." ||
                             texts.back().rfind("L'INSTALLAZIONE E' STATA COMPLETATA!", 0) == 0;
      if (!completed) {
        // Told, with the step's own message or the run's, and ended as failed.
        EXPECT_EQ(texts.back().rfind("Si è verificato un errore", 0), 0u) << texts.back();
        EXPECT_EQ(m.sys.ui.boxes.back().icon, MsgIcon::Critical) << texts.back();
        EXPECT_EQ(code, 1603) << texts.back();
        ++runs;
        continue;
      }
      // The code follows from what the run did: a file left for the next
      // start is what asks for the restart, which the box's OK starts.
      const bool fileWaits = !m.sys.files.pendingRenames.empty();
      EXPECT_EQ(texts.back() == "Installazione completata.", !fileWaits) << texts.back();
      EXPECT_EQ(m.sys.platform.exitRequests.empty(), !fileWaits);
      EXPECT_EQ(code, fileWaits ? 1641 : 0);
      // A file not installed whole is in the log; one not in it is whole.
      const auto log = m.Lines(std::string(SampleMachine::kDest) + "\\Install.Log");
      for (const auto& [path, name] : m.installs) {
        if (m.sys.files.Content(path) != m.package[name]) {
          EXPECT_NE(std::find(log.begin(), log.end(), "File non copiato: " + name), log.end())
              << path;
        }
      }
      const auto lines = m.Lines(script);
      ASSERT_FALSE(lines.empty());
      EXPECT_EQ(lines.back(), "          SystemDB");
      // Shortcuts left out are owned up to.
      std::vector<std::string> made;
      for (const auto& link : m.sys.shell.shortcuts) made.push_back(link.path);
      if (made != shortcuts) {
        EXPECT_EQ(texts.front().rfind("Non è stato possibile creare alcuni collegamenti", 0), 0u);
      }
      ++runs;
    }
  }
  EXPECT_GT(runs, 100);
}

// A cancel while the user's leggimi.txt is being replaced, with each delete,
// attribute change and listing after it (the rollback's and the end of
// setup's) failing in turn: the rollback goes on past the failure, the run
// never resumes, the user's files stay as they were, and the program ends as
// cancelled.
TEST(InstallationFaults, ACancelDuringAReplacementRollsBackPastAFailingDelete) {
  const std::string dest = SampleMachine::kDest;
  for (const fakes::FakeFaultKind& kind : fakes::kFakeFaultKinds) {
    if (kind.op != FakeOp::Delete && kind.op != FakeOp::SetAttributes && kind.op != FakeOp::List)
      continue;
    for (int n = 0, count = 0; n <= count; ++n) {
      SCOPED_TRACE("operation kind " + std::to_string(int(kind.op)) + ", fault " +
                   std::to_string(int(kind.fault)) + " n = " + std::to_string(n));
      SampleMachine m;
      ExitingQuit quit{m.cx};
      bool cancelled = false;
      m.sys.ui.onPump = [&] {
        if (cancelled || m.view.copying != "Copia di leggimi.txt") return;
        cancelled = true;
        m.sys.files.Inject(kind, n);
        CancelSetup(m.cx, quit);
      };
      EXPECT_EQ(m.Run(), 1602);
      if (n == 0) count = m.sys.files.Operations(kind.op);
      EXPECT_EQ(m.Texts(), std::vector<std::string>{"Installazione interrotta dall'Utente."});
      m.ExpectUsersFilesIntact();
      EXPECT_EQ(m.sys.files.Content(dest + "\\leggimi.txt"), "appunti dell'utente");
      int left = 0;
      for (const char* name : {"condominio.mde", "condominio.ico", "leggimi.000"})
        left += m.sys.files.Exists(dest + "\\" + name);
      EXPECT_LE(left, n == 0 ? 0 : 1);
      EXPECT_FALSE(m.sys.files.Exists(dest + "\\Documenti"));
      // The end of setup ran: one failing delete keeps one package file at most.
      EXPECT_FALSE(m.sys.files.Exists("C:\\Setup\\Setup.dip") &&
                   m.sys.files.Exists("C:\\Setup\\Setup.ftc"));
    }
  }
}

}  // namespace
}  // namespace tessaro

namespace tessaro {
namespace {

// The sample package installed by /S: the switches take the pages' places,
// every box is answered without a person, and what the drive page would
// refuse ends the run before anything is installed.
TEST(SilentInstallation, FollowsTheSwitchesAndRefusesWhatThePagesWould) {
  auto run = [&](SampleMachine& m, const std::string& arguments, Transcript& log) {
    UnattendedUi silent(m.sys.ui, &log, true);
    InstallerContext cx{Services{silent, m.sys.files, m.sys.registry, m.sys.shell,
                                 m.sys.processes, m.sys.platform},
                        m.state};
    m.state.Events = &log;
    EXPECT_TRUE(log.Start(arguments));
    try {
      RunSilently(cx, ParseCommandLine(arguments), m.view);
    } catch (const ProgramEnded& end) {
      return end.code;
    }
    return -1;
  };
  auto clock = [] { return std::string("t"); };
  auto file = [](fakes::FakeFileSystem& files) {
    FileStatus status;
    return files.OpenForWriting("C:\\setup.log", status);
  };

  SampleMachine full;
  full.sys.files.AddFile("D:\\Altro\\nota.txt", "x");
  full.sys.files.drives['D'].space = DiskSpace{1'000'000, 1'000, 1'000};
  Transcript refused(file(full.sys.files), "C:\\setup.log", clock);
  EXPECT_EQ(run(full, "/S /D=D:\\Condominio", refused), exitcode::Fatal);
  EXPECT_TRUE(full.sys.ui.boxes.empty());
  EXPECT_FALSE(full.sys.files.GetAttributes("D:\\Condominio\\condominio.mde"));
  const std::string why = full.sys.files.Content("C:\\setup.log");
  EXPECT_NE(why.find("unità non utilizzabile"), std::string::npos) << why;

  // A destination or group that is not what it looks like: told in the
  // transcript, nothing made or installed, and the run ends as failed.
  for (const auto& [arguments, told] : std::vector<std::pair<std::string, const char*>>{
           {"/S /D=C:\\Dati\\CON", texts::kBadFolderName},
           {"/S /D=C:..\\Dati", texts::kNoDrive},
           {"/S /D=C:\\Nuova /GROUP=..\\..\\Esecuzione automatica", texts::kBadProgramGroup}}) {
    SCOPED_TRACE(arguments);
    SampleMachine bad;
    Transcript log(file(bad.sys.files), "C:\\setup.log", clock);
    EXPECT_EQ(run(bad, arguments, log), exitcode::Fatal);
    EXPECT_TRUE(bad.sys.ui.boxes.empty());
    EXPECT_NE(bad.sys.files.Content("C:\\setup.log").find(told), std::string::npos);
    EXPECT_FALSE(bad.sys.files.Exists("C:\\Nuova"));
    EXPECT_TRUE(bad.sys.shell.shortcuts.empty());
  }

  SampleMachine m;
  Transcript log(file(m.sys.files), "C:\\setup.log", clock);
  EXPECT_EQ(run(m, "/S /GROUP=Gestionali /NODESKTOP", log), exitcode::Installed);
  EXPECT_TRUE(m.sys.ui.boxes.empty());
  EXPECT_EQ(m.sys.files.Content(std::string(SampleMachine::kDest) + "\\condominio.mde"),
            m.package["condominio.mde"]);
  ASSERT_FALSE(m.sys.shell.shortcuts.empty());
  for (const ShortcutFile& link : m.sys.shell.shortcuts)
    EXPECT_NE(link.path.find("\\Gestionali\\"), std::string::npos) << link.path;
  const std::string events = m.sys.files.Content("C:\\setup.log");
  for (const char* event :
       {"\"Il percorso scelto contiene già dei files.", "-> Sì (risposta senza domande)",
        "mantenuto: C:\\Programmi\\Condominio\\condominio.mdw", "fine, codice di uscita 0"})
    EXPECT_NE(events.find(event), std::string::npos) << event << "\n" << events;
}

}  // namespace
}  // namespace tessaro
