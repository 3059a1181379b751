// The prefix, the stand-ins and the staged package, as the Wine tests rely on them.
#include <gtest/gtest.h>

#include <algorithm>

#include "robot.h"
#include "support.h"

namespace {

using robot::widen;
using wine_test::reg_dword;

struct Library {
  HMODULE handle;
  ~Library() {
    if (handle) FreeLibrary(handle);
  }
};

// "a.b.c.d" of a file's VERSIONINFO, empty without one.
std::string file_version(const std::string& path) {
  std::wstring wide = widen(path);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
  if (!size) return {};
  std::vector<char> data(size);
  if (!GetFileVersionInfoW(wide.c_str(), 0, size, data.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
    return {};
  return std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
         std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(info->dwFileVersionLS)) + "." +
         std::to_string(LOWORD(info->dwFileVersionLS));
}

long call_export(const std::string& dll, const char* name) {
  Library library{LoadLibraryW(widen(dll).c_str())};
  if (!library.handle) return -1;
  auto entry = reinterpret_cast<HRESULT(__stdcall*)()>(
      reinterpret_cast<void*>(GetProcAddress(library.handle, name)));
  return entry ? entry() : -2;
}

}  // namespace

TEST(RigPrefix, IsAWindowsOfCodePage1252WithAFloppyAndUnmanagedWindows) {
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(GetDriveTypeW(L"A:\\"), UINT(DRIVE_REMOVABLE));
  EXPECT_EQ(wine_test::reg_string(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed"), "N");
  EXPECT_TRUE(wine_test::exists("C:\\windows\\system32\\fm20.dll"));
}

TEST(RigStandins, RegisterThroughTheirEntryPointsAndCarryVersions) {
  EXPECT_EQ(call_export(wine_test::standin("kv_shell.dll"), "DllRegisterServer"), 0);
  EXPECT_EQ(call_export(wine_test::standin("kv_shell.dll"), "DllUnregisterServer"), 0);

  const std::string key = "Software\\Tessaro Test\\fm20";
  RegDeleteKeyW(HKEY_CURRENT_USER, widen(key).c_str());
  ASSERT_FALSE(reg_dword(HKEY_CURRENT_USER, key, "Registered"));
  auto regsvr32 = robot::Process::start("C:\\windows\\system32\\regsvr32.exe", {"/s", "fm20.dll"});
  ASSERT_TRUE(regsvr32.started()) << regsvr32.error();
  ASSERT_TRUE(regsvr32.wait_exit());
  EXPECT_EQ(regsvr32.exit_code(), 0u);
  EXPECT_EQ(reg_dword(HKEY_CURRENT_USER, key, "Registered"), 1u);

  EXPECT_EQ(file_version(wine_test::standin("MsVBvm50.dll")), "5.0.0.1");
  EXPECT_EQ(file_version(wine_test::standin("kv_shell.dll")), "1.0.0.1");
  EXPECT_EQ(file_version(wine_test::standin("unplant.dll")), "1.0.0.1");
  EXPECT_EQ(file_version("C:\\windows\\system32\\fm20.dll"), "2.0.0.1");
}

TEST(RigStandins, UninstallerLogsEachCommandLineBesideItself) {
  std::string folder = wine_test::scratch_folder("unplant");
  std::string exe = folder + "\\Unplant.Exe";
  ASSERT_TRUE(
      CopyFileW(widen(wine_test::standin("unplant.dll")).c_str(), widen(exe).c_str(), TRUE));
  for (auto arg : {"C:\\Program Files\\App\\Uninstall.ini", "second"}) {
    auto run = robot::Process::start(exe, {arg});
    ASSERT_TRUE(run.started()) << run.error();
    ASSERT_TRUE(run.wait_exit());
    EXPECT_EQ(run.exit_code(), 0u);
  }
  EXPECT_EQ(wine_test::read_file(folder + "\\Unplant.log"),
            exe + " \"C:\\Program Files\\App\\Uninstall.ini\"\r\n" + exe + " second\r\n");
}

TEST(RigPackage, SetupFolderIsAFreshCopyOfTheStagedPackage) {
  auto staged = wine_test::list_files(wine_test::build_path("package"));
  for (auto file : {"kv_shell.dll", "unplant.dll", "MsVBvm50.dll"})
    EXPECT_NE(std::find(staged.begin(), staged.end(), file), staged.end()) << file;
  EXPECT_TRUE(std::any_of(staged.begin(), staged.end(), [](const std::string& f) {
    return f.find('\\') != std::string::npos;
  })) << "the package has files in a subfolder";

  std::string folder = wine_test::make_setup_folder(false);
  EXPECT_EQ(folder, "C:\\tessaro-tests\\RigPackage.SetupFolderIsAFreshCopyOfTheStagedPackage");
  EXPECT_EQ(wine_test::list_files(folder), staged);
  EXPECT_EQ(wine_test::read_file(folder + "\\kv_shell.dll"),
            wine_test::read_file(wine_test::standin("kv_shell.dll")));

  // Left-overs of an earlier run go.
  ASSERT_TRUE(CopyFileW(widen(folder + "\\kv_shell.dll").c_str(),
                        widen(folder + "\\stray.dll").c_str(), FALSE));
  EXPECT_EQ(wine_test::make_setup_folder(false), folder);
  EXPECT_EQ(wine_test::list_files(folder), staged);
}
