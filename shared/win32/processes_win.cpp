#include "processes_win.h"

#include <windows.h>

#include "handles.h"
#include "system_dlls_win.h"
#include "wide.h"

namespace tessaro {

namespace {

// Starts the command line; the process handle is returned, the thread handle
// closed.
KernelHandle Launch(const std::string& commandLine, bool minimized) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring command = Widen(commandLine);
  command.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (minimized) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;  // minimized, and active
  }
  PROCESS_INFORMATION info{};
  // No application name: the command line's first word is the program, by
  // its full path (a bare name would be searched for in this program's own
  // folder first). No handle of ours is handed down, and the program starts
  // in the system folder, not in the setup folder, where anyone who could
  // write there could have left a file for it to pick up.
  const std::optional<std::wstring> systemFolder =
      TextOfCall([](DWORD size, wchar_t* buffer) { return GetSystemDirectoryW(buffer, size); });
  if (!systemFolder) return KernelHandle();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                      nullptr, systemFolder->c_str(), &startup, &info))
    return KernelHandle();
  KernelHandle thread(info.hThread);
  return KernelHandle(info.hProcess);
}

}  // namespace

std::optional<uint32_t> Win32Processes::RunAndWait(const std::string& commandLine) {
  KernelHandle process = Launch(commandLine, false);
  if (!process) return std::nullopt;
  WaitForSingleObject(process.Get(), INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(process.Get(), &code)) return std::nullopt;
  return static_cast<uint32_t>(code);
}

bool Win32Processes::Start(const std::string& commandLine, bool minimized) {
  return static_cast<bool>(Launch(commandLine, minimized));
}

namespace {

struct LibraryTraits {
  static HMODULE Invalid() { return nullptr; }
  static bool Valid(HMODULE h) { return h != nullptr; }
  static void Close(HMODULE h) { FreeLibrary(h); }
};
using LoadedLibrary = UniqueHandle<HMODULE, LibraryTraits>;

}  // namespace

std::optional<int32_t> Win32Processes::CallEntryPoint(const std::string& libraryPath,
                                                      const std::string& function) {
  LoadedLibrary library(LoadComponentLibrary(Widen(libraryPath).c_str()));
  if (!library) return std::nullopt;
  FARPROC address = GetProcAddress(library.Get(), function.c_str());
  if (!address) return std::nullopt;
  // The self-registration entry points take nothing and return an HRESULT.
  using EntryPoint = HRESULT(STDAPICALLTYPE*)();
  return static_cast<int32_t>(reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(address))());
}

}  // namespace tessaro
