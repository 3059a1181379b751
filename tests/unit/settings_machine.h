#pragma once
// A fake Windows with the folders, registry values and package values that
// placeholders, shortcuts and the settings import look up.
#include <string>

#include "fakes/fakes.h"
#include "installer_state.h"

namespace tessaro::testing {

inline constexpr uint32_t kLocalMachine = 0x80000002u;
inline constexpr const char* kCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
inline constexpr const char* kPrograms = "C:\\Documents and Settings\\Mario\\Menu Avvio\\Programmi";
inline constexpr const char* kDesktop = "C:\\Documents and Settings\\Mario\\Desktop";

struct SettingsMachine {
  fakes::FakeSystem sys;
  InstallerState state;
  InstallerContext cx{sys.services(), state};
  Services services = sys.services();
  PackageValues& pkg = state.package;

  SettingsMachine() {
    sys.registry.PutString(kLocalMachine, kCurrentVersion, "ProgramFilesDir", "C:\\Programmi");
    sys.registry.PutString(kLocalMachine, kCurrentVersion, "CommonFilesDir",
                           "C:\\Programmi\\File comuni");
    sys.shell.folders = {{0, kDesktop}, {2, kPrograms}, {20, "C:\\WINNT\\Fonts"}};
    sys.shell.systemFolder = "C:\\WINNT\\SYSTEM32";
    sys.shell.windowsFolder = "C:\\WINNT";
    sys.files.AddFolder(kDesktop);
    sys.files.AddFolder(kPrograms);
    sys.files.AddFolder("C:\\Setup");
    sys.files.SetCurrentFolder("C:\\Setup");

    pkg.AppFullName = "Gestione Magazzino v.3.1";
    pkg.AppShortName = "Magazzino";
    pkg.ProgramGroup = "Gestione Magazzino";
    pkg.AppVersion = "3.1";
    pkg.InstallPath = "C:\\Programmi\\Gestione";
    pkg.DatabaseFile = "magazzino.mde";
    pkg.WorkgroupFile = "magazzino.mdw";
    pkg.IconFile = "magazzino.ico";
    sys.files.AddFolder(pkg.InstallPath);
  }
};

}  // namespace tessaro::testing
