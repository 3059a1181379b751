#include "system_dlls_win.h"

#include <string>

namespace tessaro {

namespace {

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

std::wstring SystemFolderPath(const wchar_t* name) {
  std::wstring folder(MAX_PATH, L'\0');
  UINT n = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (n >= folder.size()) {
    folder.resize(n);
    n = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  }
  if (n == 0 || n >= folder.size()) return {};
  folder.resize(n);
  return folder + L"\\" + name;
}

struct VersionFunctions {
  using Size = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using Info = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using Query = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  Size size = nullptr;
  Info info = nullptr;
  Query query = nullptr;
};

// Loaded on first use, kept for the program's life (one thread).
const VersionFunctions& Version() {
  static VersionFunctions functions = [] {
    HMODULE dll = LoadSystemLibrary(L"version.dll");
    VersionFunctions f;
    f.size = Lookup<VersionFunctions::Size>(dll, "GetFileVersionInfoSizeW");
    f.info = Lookup<VersionFunctions::Info>(dll, "GetFileVersionInfoW");
    f.query = Lookup<VersionFunctions::Query>(dll, "VerQueryValueW");
    return f;
  }();
  return functions;
}

}  // namespace

void RestrictDllSearchToSystemFolder() {
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  auto set = Lookup<SetDirectories>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (!set || !set(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Windows without the search flags refuses them: the full path then.
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
    const std::wstring path = SystemFolderPath(name);
    if (!path.empty()) module = LoadLibraryW(path.c_str());
  }
  return module;
}

HMODULE LoadComponentLibrary(const wchar_t* fullPath) {
  HMODULE module = LoadLibraryExW(
      fullPath, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER)
    module = LoadLibraryExW(fullPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  return module;
}

DWORD VersionInfoSize(const wchar_t* file) {
  DWORD ignored = 0;
  if (!Version().size) return SetLastError(ERROR_MOD_NOT_FOUND), 0;
  return Version().size(file, &ignored);
}

bool VersionInfo(const wchar_t* file, DWORD size, void* block) {
  if (!Version().info) return SetLastError(ERROR_MOD_NOT_FOUND), false;
  return Version().info(file, 0, size, block) != FALSE;
}

bool VersionQuery(const void* block, const wchar_t* query, void** found, UINT* length) {
  if (!Version().query) return SetLastError(ERROR_MOD_NOT_FOUND), false;
  return Version().query(block, query, found, length) != FALSE;
}

}  // namespace tessaro
