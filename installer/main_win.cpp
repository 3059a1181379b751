// Installer.exe: loads the wizard form and runs its messages. Every way out
// passes through EndOfSetup, which ends the process.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "win32/files_win.h"
#include "command_line.h"
#include "win32/form_keys.h"
#include "frm_setup_win.h"
#include "win32/platform_win.h"
#include "win32/processes_win.h"
#include "win32/registry_win.h"
#include "setup_folder.h"
#include "win32/shell_win.h"
#include "win32/ui_win.h"

namespace {

// The installer's program-wide values: the package description and the flags.
tessaro::InstallerState g_state;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace tessaro;
  // A drive without a disk (an empty floppy drive chosen as destination) is
  // the installer's own case: no system box asking to insert one.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  static Win32Ui ui;
  static Win32Files files;
  static Win32Registry registry;
  static Win32Shell shell;
  static Win32Processes processes;
  static Win32Platform platform;
  InstallerContext cx{Services{ui, files, registry, shell, processes, platform}, g_state};

  static FrmSetup form(cx, ui);
  if (!form.Create(instance)) return 1;
  form.LoadAndShow();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchFormMessage(msg);
  // The wizard went away without its own way out: nothing was installed.
  if (g_state.ExitCode < 0 && !g_state.QuitConfirmed) g_state.ExitCode = exitcode::Cancelled;
  EndOfSetup(cx);
}
