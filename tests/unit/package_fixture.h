#pragma once
// A fake machine with a complete package in C:\Setup, for the start-up and
// end-of-setup tests.
#include <string>

#include "fakes/fakes.h"
#include "installer_state.h"
#include "wizard/wizard_view.h"

namespace tessaro::testing {

inline constexpr const char* kSetupDip =
    "Nome:Archivio Clienti v.2.0\r\n"
    "Descrizione lunga:Gestione archivio\r\n"
    "Nome breve  :Archivio\r\n"
    "Gruppo progr.:Archivio Clienti\r\n"
    "Versione2.0\r\n"
    "Cartella app:Archivio\r\n"
    "Dimensione:123456\r\n"
    "Program.:archivio.exe\r\n"
    "Database:archivio.mde\r\n"
    "Sicur.  :archivio.mdw\r\n"
    "Icona   :archivio.ico\r\n";

struct RecordingView : WizardView {
  void ApplyOutline() override { ++outlines; }
  void SetAppName(const std::string& c) override { appName = c; }
  void SetAppTitle(const std::string& c) override { appTitle = c; }
  void SetWelcome(const std::string& t) override { welcome = t; }
  std::string appName = "(unset)", appTitle = "(unset)", welcome = "(unset)";
  int outlines = 0;
};

struct PackageMachine {
  fakes::FakeSystem sys;
  InstallerState state;
  InstallerContext cx{sys.services(), state};
  RecordingView view;

  PackageMachine() {
    sys.platform.programPath = "C:\\Setup\\Installer.exe";
    sys.files.AddFile("C:\\Setup\\Installer.exe", "MZ");
    for (const char* name : {"Licence.txt", "Welcome.txt", "unplant.dll", "kv_shell.dll",
                             "Settings.lrk", "Setup.dip", "Setup.ftc", "MsVBvm50.dll"})
      sys.files.AddFile(std::string("C:\\Setup\\") + name, "x");
    sys.files.WriteAll("C:\\Setup\\Setup.dip", kSetupDip);
    sys.files.WriteAll("C:\\Setup\\Welcome.txt", "Benvenuti in @ !");
    sys.files.AddFile("C:\\Setup\\files\\archivio.mde", "db");
    sys.registry.PutString(0x80000002u, "Software\\Microsoft\\Windows\\CurrentVersion",
                           "ProgramFilesDir", "C:\\Programmi");
  }
};

}  // namespace tessaro::testing
