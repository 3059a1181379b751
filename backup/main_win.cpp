// KVB.exe: started by the application with the data file's path as its whole
// command line. Loads the main window (which refuses a second copy or a
// missing file) and runs its messages.
#include <windows.h>

#include <commctrl.h>

#include "frm_split_win.h"
#include "kvb_startup.h"
#include "win32/files_win.h"
#include "win32/platform_win.h"
#include "win32/processes_win.h"
#include "win32/registry_win.h"
#include "win32/shell_win.h"
#include "win32/system_dlls_win.h"
#include "win32/ui_win.h"
#include "win32/wide.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  tessaro::RestrictDllSearchToSystemFolder();
  using namespace tessaro;
  // An empty floppy drive is the program's own case to handle: no system box
  // asking to insert a disk.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  // One copy per session: the mutex lives until the process ends.
  static KernelHandle session(CreateMutexW(nullptr, FALSE, L"Tessaro.Backup.Session"));
  const bool previousInstance = GetLastError() == ERROR_ALREADY_EXISTS;

  static Win32Ui ui;
  static Win32Files files;
  static Win32Registry registry;
  static Win32Shell shell;
  static Win32Processes processes;
  static Win32Platform platform;
  static Services sys{ui, files, registry, shell, processes, platform};

  static FrmSplit form(sys, ui, kvb::ArgumentText(Narrow(GetCommandLineW())), previousInstance);
  if (!form.Create(instance)) return 1;
  form.LoadAndShow();

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab and the buttons' Alt+letter keys work as in a dialog.
    if (IsDialogMessageW(form.Handle(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
