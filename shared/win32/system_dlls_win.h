#pragma once
// Which DLLs the programs load, and from where. The installer runs elevated
// from a folder the user could have written to, so a DLL lying beside it must
// never be loaded: the programs import only Windows' KnownDLLs (and comctl32,
// which the manifest takes from the side-by-side store), and everything else
// comes from the system folder.
#include <windows.h>

namespace tessaro {

// The first statement of wWinMain: later loads search the system folder only
// (SetDefaultDllDirectories where Windows has it, else the current folder is
// taken out of the search with SetDllDirectoryW(L"")).
void RestrictDllSearchToSystemFolder();

// A library of Windows, from the system folder only; null when it cannot be
// loaded. It stays loaded until the program ends.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A component the installer registers, by its full path: its own imports are
// searched in its folder and in the system folder, never in the setup folder.
HMODULE LoadComponentLibrary(const wchar_t* fullPath);

// version.dll's three functions, reached at run time (version.dll is no
// KnownDLL, so a static import would be searched in the program's folder
// first). They fail with ERROR_MOD_NOT_FOUND when the library is missing.
DWORD VersionInfoSize(const wchar_t* file);
bool VersionInfo(const wchar_t* file, DWORD size, void* block);
bool VersionQuery(const void* block, const wchar_t* query, void** found, UINT* length);

}  // namespace tessaro
