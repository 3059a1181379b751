#include "shell_win.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include "handles.h"
#include "path_split.h"
#include "wide.h"

namespace tessaro {

namespace {

// An item list from the shell, freed with the task allocator.
class ItemList {
 public:
  ~ItemList() { CoTaskMemFree(pidl_); }
  LPITEMIDLIST* Put() { return &pidl_; }
  LPCITEMIDLIST Get() const { return pidl_; }

 private:
  LPITEMIDLIST pidl_ = nullptr;
};

// GetSystemDirectoryW and GetWindowsDirectoryW share their contract: the size
// needed (terminator included) when the buffer is too small, else the length.
template <typename Call>
std::string FolderFrom(Call call) {
  UINT needed = call(nullptr, 0);
  if (needed == 0) return {};
  std::wstring buffer(needed, L'\0');
  UINT length = call(buffer.data(), needed);
  if (length == 0 || length >= needed) return {};
  buffer.resize(length);
  return WithoutFinalBackslash(Narrow(buffer));
}

}  // namespace

Win32Shell::~Win32Shell() {
  if (comStarted_) CoUninitialize();
}

std::optional<std::string> Win32Shell::SpecialFolder(int code) {
  ItemList items;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, code, items.Put()))) return std::nullopt;
  // Room for the longest path Windows allows, so that a long profile path is
  // not refused.
  std::wstring path(32768, L'\0');
  if (!SHGetPathFromIDListEx(items.Get(), path.data(), static_cast<DWORD>(path.size()),
                             GPFIDL_DEFAULT))
    return std::nullopt;
  path.resize(wcsnlen(path.c_str(), path.size()));
  return WithoutFinalBackslash(Narrow(path));
}

std::string Win32Shell::SystemFolder() {
  return FolderFrom([](wchar_t* buffer, UINT size) { return GetSystemDirectoryW(buffer, size); });
}

std::string Win32Shell::WindowsFolder() {
  return FolderFrom([](wchar_t* buffer, UINT size) { return GetWindowsDirectoryW(buffer, size); });
}

std::string Win32Shell::Wow64SystemFolder() {
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) return {};
  return FolderFrom([](wchar_t* buffer, UINT size) { return GetSystemWow64DirectoryW(buffer, size); });
}

bool Win32Shell::WriteShortcut(const ShortcutFile& link) {
  if (!comTried_) {
    comTried_ = true;
    // S_FALSE (already started on this thread) also wants its matching
    // CoUninitialize; RPC_E_CHANGED_MODE means another apartment kind is up,
    // which serves the shell link just as well.
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  }
  ComPtr<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shellLink.PutVoid())))
    return false;
  if (FAILED(shellLink->SetPath(Widen(link.target).c_str())) ||
      FAILED(shellLink->SetWorkingDirectory(Widen(link.workingFolder).c_str())) ||
      FAILED(shellLink->SetArguments(Widen(link.arguments).c_str())) ||
      FAILED(shellLink->SetIconLocation(Widen(link.iconFile).c_str(), 0)))
    return false;
  ComPtr<IPersistFile> file;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.PutVoid()))) return false;
  return SUCCEEDED(file->Save(Widen(link.path).c_str(), TRUE));
}

}  // namespace tessaro
