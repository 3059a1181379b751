// Installing one file on the real file system through the Win32 layer: a
// copy in blocks stamped with the running program's times, and a destination
// another handle holds open, deferred through wininit.ini and through
// Windows' own list of renames, and taken back from both.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/deferred_replacement.h"
#include "engine/file_times.h"
#include "engine/install_file.h"
#include "fakes/tag_canvas.h"
#include "in_process.h"
#include "installer_state.h"
#include "services/special_folders.h"
#include "support.h"
#include "win32/handles.h"
#include "win32/wide.h"

namespace tessaro {
namespace {

struct View : CopyView {
  void SetStatusText(int index, const std::string& text) override { labels[index] = text; }
  ProgressCanvas& Bar(int index) override { return bars[index]; }
  std::string labels[2];
  fakes::TagCanvas bars[2];
};

constexpr const wchar_t* kSessionManager = L"System\\CurrentControlSet\\Control\\Session Manager";
constexpr const wchar_t* kPendingRenames = L"PendingFileRenameOperations";

// The REG_MULTI_SZ value as raw UTF-16, nothing when it is not there.
std::optional<std::wstring> PendingRenames() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return std::nullopt;
  RegKeyHandle owner(key);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, kPendingRenames, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring data(size / sizeof(wchar_t), L'\0');
  RegQueryValueExW(key, kPendingRenames, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                   &size);
  return data;
}

void RestorePendingRenames(const std::optional<std::wstring>& before) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return;
  RegKeyHandle owner(key);
  if (before)
    RegSetValueExW(key, kPendingRenames, 0, REG_MULTI_SZ,
                   reinterpret_cast<const BYTE*>(before->data()), before->size() * sizeof(wchar_t));
  else
    RegDeleteValueW(key, kPendingRenames);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  KernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), bytes.data(), bytes.size(), &written, nullptr) &&
         written == bytes.size();
}

std::optional<FILETIME> LastWrite(const std::string& path) {
  KernelHandle file(CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr));
  FILETIME created, accessed, written;
  if (!file || !GetFileTime(file.Get(), &created, &accessed, &written)) return std::nullopt;
  return written;
}

struct InstallFileOnDisk : ::testing::Test, wine::Win32Machine<> {
  InstallerState state;
  InstallerContext cx{sys, state};
  View view;
  std::string folder;
  std::string source;

  void SetUp() override {
    state.package.AppShortName = "Magazzino";
    state.package.PackageBytes = 200000;
    folder =
        wine_test::scratch_folder(std::string("InstallFileOnDisk.") +
                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_TRUE(CreateDirectoryW(Widen(folder + "\\files").c_str(), nullptr));
    source = std::string(100000, '\0');
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i * 7 + i / 251);
    ASSERT_TRUE(WriteBytes(folder + "\\files\\archivio.dat", source));
    ASSERT_TRUE(SetCurrentDirectoryW(Widen(folder).c_str()));
  }
  // The next test's scratch folder cannot be remade while it is the current one.
  void TearDown() override { SetCurrentDirectoryW(L"C:\\"); }
};

TEST_F(InstallFileOnDisk, CopiesInBlocksAndStampsTheInstallerTimes) {
  const std::string dest = folder + "\\Dest\\Dati\\archivio.dat";
  bool existed = true;
  EXPECT_TRUE(InstallFile(cx, view, "files\\archivio.dat", dest, true, existed));
  EXPECT_FALSE(existed);
  EXPECT_EQ(wine_test::read_file(dest), source);
  // Three full blocks and a remainder of 4000 bytes.
  EXPECT_EQ(view.bars[0].tags, (std::vector<std::string>{"32", "64", "96", "100"}));
  EXPECT_EQ(view.labels[0], "Copia di archivio.dat");
  EXPECT_EQ(state.BytesCopied, 100000);

  // The running program (wine_tests.exe) stands for the installer.
  auto mine = LastWrite(platform.ProgramPath());
  auto stamped = LastWrite(dest);
  ASSERT_TRUE(mine && stamped);
  EXPECT_EQ(CompareFileTime(&*mine, &*stamped), 0);
  EXPECT_EQ(LastWriteText(sys, dest), LastWriteText(sys, platform.ProgramPath()));
  EXPECT_NE(LastWriteText(sys, dest), LastWriteText(sys, folder + "\\files\\archivio.dat"));
}

// Hidden, system and read-only files of the user's are there like any other:
// kept by a keep line, replaced whole by a replace line, and never opened
// over when they appear after the run looked.
TEST_F(InstallFileOnDisk, HiddenFilesAtTheDestinationAreThere) {
  const DWORD hidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
  const std::string kept = folder + "\\tenuto.dat", replaced = folder + "\\archivio.dat";
  for (const std::string& path : {kept, replaced}) {
    ASSERT_TRUE(WriteBytes(path, "dell'utente"));
    ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), hidden));
  }
  const DWORD before = GetFileAttributesW(Widen(kept).c_str());  // archive too
  ASSERT_EQ(before & hidden, hidden);
  bool existed = false;
  EXPECT_TRUE(InstallFile(cx, view, "files\\archivio.dat", kept, false, existed));
  EXPECT_TRUE(existed);
  EXPECT_EQ(wine_test::read_file(kept), "dell'utente");
  EXPECT_EQ(GetFileAttributesW(Widen(kept).c_str()), before);

  EXPECT_TRUE(InstallFile(cx, view, "files\\archivio.dat", replaced, true, existed));
  EXPECT_TRUE(existed);
  EXPECT_EQ(wine_test::read_file(replaced), source);
  EXPECT_FALSE(wine_test::read_file(folder + "\\archivio.000"));

  KnownFacts missing;  // as the run saw it a moment before
  EXPECT_FALSE(InstallFile(cx, view, "files\\archivio.dat", kept, true, existed, missing));
  EXPECT_EQ(wine_test::read_file(kept), "dell'utente");
  EXPECT_EQ(GetFileAttributesW(Widen(kept).c_str()), before);
}

TEST_F(InstallFileOnDisk, DestinationHeldOpenIsReplacedAtTheNextStart) {
  const std::string wininit = GetWindowsFolder(sys) + "\\wininit.ini";
  const auto wininitBefore = wine_test::read_file(wininit);
  const auto pendingBefore = PendingRenames();

  const std::string dest = folder + "\\archivio.dat";
  ASSERT_TRUE(WriteBytes(dest, "vecchio"));
  KernelHandle held(
      CreateFileW(Widen(dest).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);

  bool existed = false;
  EXPECT_FALSE(InstallFile(cx, view, "files\\archivio.dat", dest, true, existed));
  EXPECT_TRUE(existed);
  EXPECT_TRUE(state.RestartNeeded);
  const std::string temporary = folder + "\\archivio.000";
  EXPECT_EQ(wine_test::read_file(temporary), source);

  auto lines = wine_test::read_file(wininit);
  const auto pendingAfter = PendingRenames();
  // A cancel takes it all back.
  TakeBackDeferrals(cx);
  const auto wininitTakenBack = wine_test::read_file(wininit);
  const auto pendingTakenBack = PendingRenames();
  // Put the prefix back before judging, so a failure leaves nothing behind.
  held.Reset();
  if (wininitBefore)
    WriteBytes(wininit, *wininitBefore);
  else
    DeleteFileW(Widen(wininit).c_str());
  RestorePendingRenames(pendingBefore);

  ASSERT_TRUE(lines);
  const std::string line = dest + "=" + temporary + "\r\n";
  if (!wininitBefore) {
    EXPECT_EQ(*lines, "[rename]\r\n" + line);
  }
  EXPECT_NE(lines->find(line), std::string::npos) << *lines;
  ASSERT_TRUE(pendingAfter);
  // Each rename is a pair of NT paths: the temporary copy, then the
  // destination, marked with "!" when it may be replaced.
  const std::wstring pair = L"\\??\\" + Widen(temporary) + L'\0' + L"!\\??\\" + Widen(dest) + L'\0';
  std::wstring shown = *pendingAfter;
  for (wchar_t& c : shown) {
    if (c == L'\0') c = L'|';
  }
  EXPECT_NE(pendingAfter->find(pair), std::wstring::npos) << Narrow(shown);

  EXPECT_EQ(wininitTakenBack, wininitBefore);
  EXPECT_EQ(pendingTakenBack, pendingBefore);
  EXPECT_FALSE(wine_test::exists(temporary));
  EXPECT_FALSE(state.RestartNeeded);
}

}  // namespace
}  // namespace tessaro
