#include "support.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>

#include "robot.h"
#include "win32/handles.h"

namespace wine_test {

using robot::narrow;
using robot::widen;

namespace {

struct FindHandle {
  HANDLE handle;
  ~FindHandle() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
  }
};

struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr) CloseHandle(handle);
  }
};

struct Key {
  HKEY handle = nullptr;
  ~Key() {
    if (handle) RegCloseKey(handle);
  }
};

std::string environment(const char* name) {
  std::wstring wide = widen(name);
  DWORD n = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
  if (n == 0) return {};
  std::wstring value(n, L'\0');
  value.resize(GetEnvironmentVariableW(wide.c_str(), value.data(), n));
  return narrow(value);
}

std::string join(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

bool is_dot(const wchar_t* name) { return !wcscmp(name, L".") || !wcscmp(name, L".."); }

// Calls visit(name, is_folder) for each entry of `folder`.
template <typename Visit>
bool each_entry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAW data;
  FindHandle find{FindFirstFileW(widen(join(folder, "*")).c_str(), &data)};
  if (find.handle == INVALID_HANDLE_VALUE) return false;
  do {
    if (!is_dot(data.cFileName))
      visit(narrow(data.cFileName), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (FindNextFileW(find.handle, &data));
  return true;
}

void collect(const std::string& root, const std::string& relative, std::vector<std::string>& out) {
  each_entry(join(root, relative), [&](const std::string& name, bool folder) {
    std::string path = relative.empty() ? name : relative + "\\" + name;
    if (folder)
      collect(root, path, out);
    else
      out.push_back(path);
  });
}

std::string test_name() {
  auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "no-test";
  std::replace(name.begin(), name.end(), '/', '_');
  return name;
}

}  // namespace

std::string build_dir() {
  std::string dir = environment("TESSARO_BUILD_WIN");
  if (dir.empty())
    ADD_FAILURE() << "TESSARO_BUILD_WIN is not set: run the tests with run-wine-test.sh";
  return dir;
}

std::string build_path(const std::string& relative) { return join(build_dir(), relative); }
std::string standin(const std::string& file) { return build_path("standins\\" + file); }
std::string installer_exe() { return environment("TESSARO_INSTALLER_EXE"); }
std::string kvb_exe() { return environment("TESSARO_KVB_EXE"); }
std::string robot_exe() { return build_path("tests\\wine\\robot.exe"); }
std::string boxdemo_exe() { return build_path("tests\\wine\\boxdemo.exe"); }

std::string scratch_folder(const std::string& name) {
  std::string root = "C:\\tessaro-tests";
  std::string folder = join(root, name);
  CreateDirectoryW(widen(root).c_str(), nullptr);
  remove_tree(folder);
  if (!CreateDirectoryW(widen(folder).c_str(), nullptr))
    ADD_FAILURE() << "cannot make " << folder << ", error " << GetLastError();
  return folder;
}

std::string make_setup_folder(bool with_installer) {
  std::string folder = scratch_folder(test_name());
  std::string package = build_path("package");
  if (!copy_tree(package, folder)) ADD_FAILURE() << "cannot copy " << package << " to " << folder;
  if (with_installer) {
    std::string installer = installer_exe();
    if (installer.empty())
      ADD_FAILURE() << "Installer.exe is not built (TESSARO_INSTALLER_EXE is not set)";
    else if (!CopyFileW(widen(installer).c_str(), widen(join(folder, "Installer.exe")).c_str(),
                        FALSE))
      ADD_FAILURE() << "cannot copy " << installer << ", error " << GetLastError();
  }
  return folder;
}

std::vector<std::string> list_files(const std::string& folder) {
  std::vector<std::string> files;
  collect(folder, "", files);
  std::sort(files.begin(), files.end());
  return files;
}

bool exists(const std::string& path) {
  return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool copy_tree(const std::string& from, const std::string& to) {
  CreateDirectoryW(widen(to).c_str(), nullptr);
  bool ok = true;
  bool listed = each_entry(from, [&](const std::string& name, bool folder) {
    std::string source = join(from, name), target = join(to, name);
    ok = (folder ? copy_tree(source, target)
                 : CopyFileW(widen(source).c_str(), widen(target).c_str(), FALSE) != FALSE) &&
         ok;
  });
  return listed && ok;
}

namespace {

// The Unix path of a Windows path, as Wine maps it; empty outside Wine.
std::string unix_path(const std::string& path) {
  using Call = char*(CDECL*)(const wchar_t*);
  auto call = reinterpret_cast<Call>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* name = call ? call(widen(path).c_str()) : nullptr;
  if (!name) return {};
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

// Starts a Unix program, which Wine does when given its Unix path; Wine's
// handle does not tell when it has ended, so callers wait for its effect.
void run_unix(const std::string& command_line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring line = widen(command_line);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

bool is_link(const std::string& path) {
  DWORD attributes = GetFileAttributesW(widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

bool make_folder_link(const std::string& link, const std::string& target) {
  const std::string from = unix_path(link), to = unix_path(target);
  if (!from.empty() && !to.empty()) run_unix("/bin/ln -s \"" + to + "\" \"" + from + "\"");
  return robot::poll_until([&] { return is_link(link); }, robot::Millis{10000});
}

bool remove_folder_link(const std::string& link) {
  // Windows removes a junction with RemoveDirectory; Wine cannot remove a
  // Unix symbolic link at all.
  if (!RemoveDirectoryW(widen(link).c_str()) && is_link(link)) {
    const std::string name = unix_path(link);
    if (!name.empty()) run_unix("/bin/rm \"" + name + "\"");
  }
  return robot::poll_until([&] { return !is_link(link); }, robot::Millis{10000});
}

bool remove_tree(const std::string& path) {
  DWORD attributes = GetFileAttributesW(widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return remove_folder_link(path);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(widen(path).c_str()) != FALSE;
  }
  each_entry(path, [&](const std::string& name, bool) { remove_tree(join(path, name)); });
  return RemoveDirectoryW(widen(path).c_str()) != FALSE;
}

std::optional<std::string> read_file(const std::string& path) {
  FileHandle file{CreateFileW(widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file.handle, chunk, sizeof chunk, &got, nullptr) && got > 0)
    bytes.append(chunk, got);
  return bytes;
}

std::optional<std::string> read_ansi_text(const std::string& path) {
  auto bytes = read_file(path);
  if (!bytes || bytes->empty()) return bytes;
  int n = MultiByteToWideChar(CP_ACP, 0, bytes->data(), int(bytes->size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes->data(), int(bytes->size()), wide.data(), n);
  return narrow(wide);
}

namespace {

std::optional<std::wstring> reg_value(HKEY root, const std::string& key, const std::string& value,
                                      DWORD want_type) {
  Key k;
  if (RegOpenKeyExW(root, widen(key).c_str(), 0, KEY_QUERY_VALUE, &k.handle) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring name = widen(value);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(k.handle, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != want_type)
    return std::nullopt;
  std::wstring data((size + 1) / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(k.handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                       &size) != ERROR_SUCCESS)
    return std::nullopt;
  data.resize(size / sizeof(wchar_t));
  return data;
}

}  // namespace

std::optional<DWORD> reg_dword(HKEY root, const std::string& key, const std::string& value) {
  auto data = reg_value(root, key, value, REG_DWORD);
  if (!data || data->size() * sizeof(wchar_t) < sizeof(DWORD)) return std::nullopt;
  DWORD v;
  memcpy(&v, data->data(), sizeof v);
  return v;
}

std::optional<std::string> reg_string(HKEY root, const std::string& key, const std::string& value) {
  auto data = reg_value(root, key, value, REG_SZ);
  if (!data) return std::nullopt;
  while (!data->empty() && data->back() == L'\0') data->pop_back();
  return narrow(*data);
}

std::optional<LinkInfo> ReadLink(const std::string& path) {
  tessaro::ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.PutVoid())))
    return std::nullopt;
  tessaro::ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) ||
      FAILED(file->Load(widen(path).c_str(), STGM_READ)))
    return std::nullopt;
  wchar_t text[1024];
  LinkInfo info;
  if (SUCCEEDED(link->GetPath(text, 1024, nullptr, SLGP_RAWPATH))) info.target = narrow(text);
  if (SUCCEEDED(link->GetArguments(text, 1024))) info.arguments = narrow(text);
  if (SUCCEEDED(link->GetWorkingDirectory(text, 1024))) info.workingFolder = narrow(text);
  if (SUCCEEDED(link->GetIconLocation(text, 1024, &info.iconIndex))) info.icon = narrow(text);
  return info;
}

}  // namespace wine_test
