// The drive report against Wine's real drives (C: a fixed disk, A: the rig's
// floppy drive) and the shutdown privilege of the restart. The restart
// request itself is never made here: under Wine it ends the whole session
// that the later tests run in, so it is covered by the unit tests alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <vector>

#include "fakes/drive_page.h"
#include "floppy.h"
#include "in_process.h"
#include "services/drive_info.h"

namespace tessaro {
namespace {

// An Italian thousands separator for the test, the user's own afterwards.
class ItalianSeparator {
 public:
  ItalianSeparator() {
    wchar_t buffer[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 16);
    saved_ = buffer;
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, L".");
  }
  ~ItalianSeparator() { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved_.c_str()); }

 private:
  std::wstring saved_;
};

// Whether the process token has SeShutdownPrivilege enabled right now.
bool ShutdownPrivilegeEnabled() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  LUID luid{};
  LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &luid);
  DWORD size = 0;
  GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
  std::vector<char> data(size);
  bool enabled = false;
  if (size && GetTokenInformation(token, TokenPrivileges, data.data(), size, &size)) {
    auto* privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(data.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
      const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
      if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart)
        enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
  }
  CloseHandle(token);
  return enabled;
}

bool LineMatches(const std::string& report, const std::string& pattern) {
  return std::regex_search(report, std::regex(pattern));
}

TEST(DriveReport, DescribesDriveCAsAFixedDiskInItalianFigures) {
  ItalianSeparator italian;
  wine::Win32Machine<> machine;
  fakes::DrivePage view;
  CheckDriveSpace(machine.files, machine.platform, "C:\\", 32000, view);
  ASSERT_TRUE(view.report);
  const std::string& report = *view.report;
  const std::string figure = "\\d{1,3}(\\.\\d{3})*";
  EXPECT_EQ(report.rfind("C:\\ Informazioni sull'unità \r\n\r\n", 0), 0u) << report;
  EXPECT_TRUE(LineMatches(report, "\r\n  - Spazio utilizzato sul disco: " + figure + " bytes\r\n"))
      << report;
  EXPECT_TRUE(LineMatches(report, "\r\n  - Spazio disponibile: " + figure + " bytes\r\n"))
      << report;
  EXPECT_NE(report.find("\r\n  - Spazio richiesto: 32.000 bytes\r\n"), std::string::npos);
  EXPECT_TRUE(LineMatches(report, "\r\n  - Tipo di File-System: \\S+\r\n")) << report;
  EXPECT_NE(report.find("\r\n\r\n  - Tipo di supporto: Disco rigido\r\n"), std::string::npos);
  EXPECT_FALSE(view.warning) << *view.warning;
  EXPECT_FALSE(view.nextEnabled);  // left as the page had it
  EXPECT_FALSE(view.reportHidden);
}

TEST(DriveReport, AcceptsTheFloppyDriveAsRemovable) {
  ASSERT_TRUE(wine_test::floppy::insert(1));
  wine::Win32Machine<> machine;
  fakes::DrivePage view;
  CheckDriveSpace(machine.files, machine.platform, "A:\\", 1000, view);
  ASSERT_TRUE(view.report);
  EXPECT_NE(view.report->find("  - Tipo di supporto: Rimuovibile\r\n"), std::string::npos)
      << *view.report;
  EXPECT_FALSE(view.warning) << *view.warning;
  EXPECT_FALSE(view.nextEnabled);
}

TEST(DriveReport, ADriveLetterWithoutADriveCannotBeRead) {
  wine::Win32Machine<> machine;
  ASSERT_EQ(GetDriveTypeW(L"Q:\\"), UINT(DRIVE_NO_ROOT_DIR)) << "the prefix has a drive Q:";
  fakes::DrivePage view;
  CheckDriveSpace(machine.files, machine.platform, "Q:\\", 1000, view);
  EXPECT_EQ(view.warning, "ATTENZIONE:\r\nImpossibile leggere le informazioni dall'unità scelta.");
  EXPECT_EQ(view.warningTop, 790);
  EXPECT_EQ(view.nextEnabled, true);
  EXPECT_TRUE(view.reportHidden);
}

TEST(RestartPrivilege, IsEnabledForTheRequestAndDisabledAgain) {
  wine::Win32Machine<> machine;
  ASSERT_EQ(machine.platform.AdjustShutdownPrivilege(true), PrivilegeStep::Done);
  EXPECT_TRUE(ShutdownPrivilegeEnabled());
  ASSERT_EQ(machine.platform.AdjustShutdownPrivilege(false), PrivilegeStep::Done);
  EXPECT_FALSE(ShutdownPrivilegeEnabled());
}

}  // namespace
}  // namespace tessaro
