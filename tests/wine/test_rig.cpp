// The prefix, the stand-ins and the staged package, as the Wine tests rely on them.
#include <gtest/gtest.h>

#include <algorithm>

#include "floppy.h"
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

// The label of the disk in A: as a program reads it.
std::string label_of_a() {
  wchar_t name[128] = {};
  if (!GetVolumeInformationW(L"A:\\", name, 128, nullptr, nullptr, nullptr, nullptr, 0))
    return "(no volume, error " + std::to_string(GetLastError()) + ")";
  return robot::narrow(name);
}

// Writes 32000-byte blocks to `path` until a write fails; returns the bytes
// written and the error of the failed write.
std::pair<size_t, DWORD> fill(const std::string& path) {
  HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {0, GetLastError()};
  std::string block(32000, 'f');
  size_t total = 0;
  DWORD written = 0, error = 0;
  while (total < 4000000) {
    if (!WriteFile(h, block.data(), DWORD(block.size()), &written, nullptr)) {
      error = GetLastError();
      break;
    }
    total += written;
  }
  CloseHandle(h);
  return {total, error};
}

}  // namespace

TEST(RigFloppies, EachDiskKeepsItsOwnLabelThroughEmptyingAndSwaps) {
  namespace floppy = wine_test::floppy;
  ASSERT_TRUE(floppy::set_up(1, "VECCHIO-SET", {{"archivio.mdb.001", "old"}, {"nota.txt", "x"}}));
  ASSERT_TRUE(floppy::set_up(2, "DISCO-DUE"));
  ASSERT_TRUE(floppy::insert(1));
  EXPECT_EQ(label_of_a(), "VECCHIO-SET");
  EXPECT_TRUE(wine_test::exists("A:\\nota.txt"));

  // Relabel, then delete every file the way a program empties a floppy.
  ASSERT_TRUE(SetVolumeLabelW(L"A:\\", L"01234-67890")) << GetLastError();
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(L"A:\\*", &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    std::wstring path = std::wstring(L"A:\\") + data.cFileName;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  } while (FindNextFileW(find, &data));
  FindClose(find);
  EXPECT_TRUE(floppy::files(1).empty());
  EXPECT_EQ(floppy::label(1), "01234-67890");

  // A swap makes the label be read afresh.
  ASSERT_TRUE(floppy::insert(2));
  EXPECT_EQ(label_of_a(), "DISCO-DUE");
  ASSERT_TRUE(floppy::insert(1));
  EXPECT_EQ(label_of_a(), "01234-67890");
}

TEST(RigFloppies, NoDiskAFullDiskAndAProtectedDiskRefuseAsReadDrivesDo) {
  namespace floppy = wine_test::floppy;
  ASSERT_TRUE(floppy::eject());
  EXPECT_FALSE(SetCurrentDirectoryW(L"A:\\"));
  EXPECT_FALSE(SetVolumeLabelW(L"A:\\", L"01234-67890"));
  EXPECT_EQ(GetDriveTypeW(L"A:\\"), UINT(DRIVE_REMOVABLE));

  // A floppy holds a full piece of a set (1,439,879 bytes) and a catalogue,
  // and not much more.
  ASSERT_TRUE(floppy::set_up(6, "PIENO"));
  ASSERT_TRUE(floppy::insert(6));
  auto [written, error] = fill("A:\\pieno.bin");
  EXPECT_EQ(error, DWORD(ERROR_DISK_FULL));
  EXPECT_GE(written, 1439879u + 1000);
  EXPECT_LE(written, 1474560u);
  EXPECT_EQ(floppy::label(6), "PIENO");

  ASSERT_TRUE(floppy::insert(floppy::kProtected));
  EXPECT_EQ(label_of_a(), "PROTETTO");
  EXPECT_FALSE(SetVolumeLabelW(L"A:\\", L"01234-67890"));
  EXPECT_EQ(fill("A:\\nuovo.bin").first, 0u);
  DeleteFileW(L"A:\\vecchio.txt");  // Wine may say yes; the file stays all the same
  EXPECT_EQ(floppy::files(floppy::kProtected), std::vector<std::string>{"vecchio.txt"});
  EXPECT_EQ(floppy::label(floppy::kProtected), "PROTETTO");
}

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
