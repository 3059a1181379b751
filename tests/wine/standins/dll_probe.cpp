// The programs' own ways of loading DLLs (win32/system_dlls_win.h), in a
// program that imports kernel32 and the C runtime only. Installer.exe cannot
// show them under Wine: Wine's own user32.dll imports version.dll, and the
// loader resolves that import, through the program's folder, before the
// program's first statement. Here nothing has loaded version.dll before the
// code under test asks for it. Started from a folder that holds a planted
// version.dll (standins/planted/), which leaves a mark when it is loaded:
//   dll_probe.exe search          the search restricted as wWinMain does, then
//                                 version.dll by name, as any library could
//                                 load it later
//   dll_probe.exe version         the version functions (LoadSystemLibrary)
//   dll_probe.exe component PATH  a component by full path (LoadComponentLibrary),
//                                 one that imports version.dll itself
// The exit code is 0 when the load succeeded, 1 when it did not, 2 for a bad
// command line.
#include <windows.h>

#include <cwchar>

#include "win32/system_dlls_win.h"

int wmain(int argc, wchar_t** argv) {
  using namespace tessaro;
  if (argc >= 2 && std::wcscmp(argv[1], L"search") == 0) {
    RestrictDllSearchToSystemFolder();
    return LoadLibraryW(L"version.dll") ? 0 : 1;
  }
  if (argc >= 2 && std::wcscmp(argv[1], L"version") == 0) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    VersionInfoSize(self);
    return GetModuleHandleW(L"version.dll") ? 0 : 1;
  }
  if (argc >= 3 && std::wcscmp(argv[1], L"component") == 0)
    return LoadComponentLibrary(argv[2]) ? 0 : 1;
  return 2;
}
