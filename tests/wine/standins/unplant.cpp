// Stand-in for the uninstaller. Shipped as unplant.dll and installed as
// Unplant.Exe; each run appends its command line, in UTF-8 and ending with
// CR LF, to Unplant.log beside itself, then ends with 0.
#include <windows.h>

#include <string>

namespace {

struct File {
  HANDLE handle = INVALID_HANDLE_VALUE;
  ~File() {
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr) CloseHandle(handle);
  }
};

std::wstring own_path() {
  std::wstring path(260, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  std::wstring log = own_path();
  log.resize(log.find_last_of(L'\\') + 1);
  log += L"Unplant.log";

  const wchar_t* line = GetCommandLineW();
  int n = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
  std::string text(n > 0 ? n - 1 : 0, '\0');
  WideCharToMultiByte(CP_UTF8, 0, line, -1, text.data(), n, nullptr, nullptr);
  text += "\r\n";

  File file;
  file.handle = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file.handle == INVALID_HANDLE_VALUE ||
      !WriteFile(file.handle, text.data(), DWORD(text.size()), &written, nullptr))
    return 1;
  return 0;
}
