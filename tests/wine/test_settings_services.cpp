// The settings and system services of the installer in-process, through the
// real Win32 classes, against Wine's registry, shell, locale and regedit.
#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <map>
#include <set>

#include "engine/setup_dip.h"
#include "errors.h"
#include "in_process.h"
#include "installer_state.h"
#include "services/shortcuts.h"
#include "services/special_folders.h"
#include "settings/helpers.h"
#include "settings/registry_access.h"
#include "settings/registry_import.h"
#include "support.h"
#include "text_files.h"
#include "win32/handles.h"
#include "win32/ui_win.h"
#include "win32/wide.h"

namespace tessaro {
namespace {

// The real shell, except for the folders a test moves into scratch space
// (shortcuts must not land in the prefix's own Start menu).
class ScratchShell : public Shell {
public:
  std::optional<std::string> SpecialFolder(int code) override {
    auto moved = folders.find(code);
    if (moved != folders.end())
      return moved->second;
    return real.SpecialFolder(code);
  }
  std::string SystemFolder() override { return real.SystemFolder(); }
  std::string WindowsFolder() override { return real.WindowsFolder(); }
  std::string Wow64SystemFolder() override { return real.Wow64SystemFolder(); }
  bool WriteShortcut(const ShortcutFile &link) override {
    return real.WriteShortcut(link);
  }

  Win32Shell real;
  std::map<int, std::string> folders;
};

struct SettingsServices : ::testing::Test, wine::Win32Machine<Win32Ui, ScratchShell> {
  InstallerState state;
  InstallerContext cx{sys, state};
  std::string startFolder = files.CurrentFolder();

  void TearDown() override { files.SetCurrentFolder(startFolder); }
};

const std::string kNul(1, '\0');
constexpr const char *kTestKey = "Software\\TessaroTest\\Registro";

bool MakeKey(HKEY root, const std::string &path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, Widen(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

bool KeyExists(HKEY root, const std::string &path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Widen(path).c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

// Bytes the registry holds for a value (terminator included when stored).
DWORD StoredSize(HKEY root, const std::string &path, const std::string &name) {
  HKEY key = nullptr;
  DWORD size = 0;
  if (RegOpenKeyExW(root, Widen(path).c_str(), 0, KEY_READ, &key) ==
      ERROR_SUCCESS) {
    RegQueryValueExW(key, Widen(name).c_str(), nullptr, nullptr, nullptr,
                     &size);
    RegCloseKey(key);
  }
  return size;
}

std::string LowerWindows(const std::wstring &text) {
  std::wstring copy = text;
  CharLowerBuffW(copy.data(), static_cast<DWORD>(copy.size()));
  return Narrow(copy);
}

// ------------------------------------------------------------------ registry

TEST_F(SettingsServices, RegistryLayerWritesAndReadsBackStringsAndNumbers) {
  ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, kTestKey));
  const std::string folder = "C:\\Programmi\\Città € più";
  SetRegistryValue(registry, "CURRENT_USER", kTestKey, "Cartella", folder,
                   "STRING");
  SetRegistryValue(registry, "CURRENT_USER", kTestKey, "Conteggio", int32_t{-5},
                   "DWORD");
  SetRegistryValue(registry, "CURRENT_USER", kTestKey, "DaTesto",
                   std::string("42"), "DWORD");

  // Through the layer: the text with its NUL, the number as a signed 32-bit.
  RegValue text =
      QueryRegistryValue(registry, "CURRENT_USER", kTestKey, "Cartella");
  ASSERT_TRUE(std::holds_alternative<std::string>(text));
  EXPECT_EQ(std::get<std::string>(text), folder + kNul);
  RegValue number =
      QueryRegistryValue(registry, "CURRENT_USER", kTestKey, "Conteggio");
  ASSERT_TRUE(std::holds_alternative<int32_t>(number));
  EXPECT_EQ(std::get<int32_t>(number), -5);

  // And as any other reader sees them: a proper REG_SZ with its terminator.
  EXPECT_EQ(wine_test::reg_string(HKEY_CURRENT_USER, kTestKey, "Cartella"),
            folder);
  EXPECT_EQ(StoredSize(HKEY_CURRENT_USER, kTestKey, "Cartella"),
            (Widen(folder).size() + 1) * sizeof(wchar_t));
  EXPECT_EQ(wine_test::reg_dword(HKEY_CURRENT_USER, kTestKey, "Conteggio"),
            0xFFFFFFFBu);
  EXPECT_EQ(wine_test::reg_dword(HKEY_CURRENT_USER, kTestKey, "DaTesto"), 42u);
}

TEST_F(SettingsServices, RegistryLayerFailuresAreSilentAndEmpty) {
  ASSERT_TRUE(MakeKey(HKEY_CURRENT_USER, kTestKey));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kTestKey).c_str(), 0,
                          KEY_SET_VALUE, &key),
            0);
  const BYTE bytes[] = {1, 2, 3};
  RegSetValueExW(key, L"Binario", 0, REG_BINARY, bytes, sizeof bytes);
  // Written by someone else without a terminator: still reads as the text.
  // (The registry adds one itself when the character after the data is NUL.)
  const wchar_t bare[] = L"senzaX";
  RegSetValueExW(key, L"Nudo", 0, REG_SZ, reinterpret_cast<const BYTE *>(bare),
                 5 * sizeof(wchar_t));
  RegCloseKey(key);

  EXPECT_TRUE(std::holds_alternative<std::monostate>(
      QueryRegistryValue(registry, "CURRENT_USER", kTestKey, "Binario")));
  ASSERT_EQ(StoredSize(HKEY_CURRENT_USER, kTestKey, "Nudo"),
            5 * sizeof(wchar_t));
  EXPECT_EQ(RegistryText(registry, "CURRENT_USER", kTestKey, "Nudo"), "senza");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(
      QueryRegistryValue(registry, "CURRENT_USER", kTestKey, "Assente")));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(
      QueryRegistryValue(registry, "current_user", kTestKey, "Binario")));

  const std::string missing = std::string(kTestKey) + "\\Assente";
  SetRegistryValue(registry, "CURRENT_USER", missing, "V", std::string("x"),
                   "STRING");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, missing));
  SetRegistryValue(registry, "CURRENT_USER", kTestKey, "Tipo", std::string("x"),
                   "BINARY");
  EXPECT_EQ(StoredSize(HKEY_CURRENT_USER, kTestKey, "Tipo"), 0u);
}

// ----------------------------------------------------------- special folders

TEST_F(SettingsServices, SpecialAndWindowsFoldersAsTheInstallerSeesThem) {
  auto programFiles = wine_test::reg_string(
      HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion",
      "ProgramFilesDir");
  ASSERT_TRUE(programFiles);
  EXPECT_EQ(GetSpecialFolder(sys, csidl::ProgramFiles), *programFiles + "\\");

  std::string programs = GetSpecialFolder(sys, csidl::Programs);
  ASSERT_GT(programs.size(), 3u);
  EXPECT_EQ(programs.back(), '\\');
  EXPECT_NE(programs.substr(programs.size() - 2), "\\\\");
  EXPECT_TRUE(wine_test::exists(programs.substr(0, programs.size() - 1)));
  EXPECT_EQ(GetSpecialFolder(sys, 0x7FFF), ""); // no such folder code

  wchar_t buffer[400];
  UINT n = GetSystemDirectoryW(buffer, 400);
  EXPECT_EQ(GetSystemFolder(sys), LowerWindows(std::wstring(buffer, n)));
  n = GetWindowsDirectoryW(buffer, 400);
  EXPECT_EQ(GetWindowsFolder(sys), LowerWindows(std::wstring(buffer, n)));
  EXPECT_EQ(GetWindowsFolder(sys), "c:\\windows");
}

// ---------------------------------------------------------- settings import

TEST_F(SettingsServices, SamplePackageSettingsReachTheRegistryThroughRegedit) {
  std::string setup = wine_test::scratch_folder("SettingsImport");
  for (const char *name : {"Settings.lrk", "Setup.dip"})
    ASSERT_TRUE(CopyFileW(
        Widen(wine_test::build_path(std::string("package\\") + name)).c_str(),
        Widen(setup + "\\" + name).c_str(), FALSE))
        << name;
  ASSERT_TRUE(files.SetCurrentFolder(setup));
  std::string programFiles = RegistryText(
      registry, "LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion",
      "ProgramFilesDir");
  PackageValues &pkg = cx.pkg();
  ReadSetupDip(ReadTextFile(files, platform, "Setup.dip"), programFiles, pkg);
  pkg.InstallPath = "C:\\tessaro-tests\\Città Condominio";

  struct : EventLog {
    void Write(const std::string& event) override { events.push_back(event); }
    std::vector<std::string> events;
  } log;
  state.Events = &log;
  ImportRegistrySettings(cx);
  state.Events = nullptr;

  // Imported from a folder of its own in the Windows folder's Temp, gone
  // with its file now; nothing was written into the setup folder.
  ASSERT_EQ(log.events.size(), 1u);
  const std::string& run = log.events[0];
  const size_t file = run.find(" /S ") + 4, end = run.find(": codice di uscita 0");
  ASSERT_TRUE(file > 4 && end != std::string::npos) << run;
  const std::string imported = run.substr(file, end - file);
  EXPECT_EQ(imported.rfind(shell.WindowsFolder() + "\\Temp\\", 0), 0u) << imported;
  EXPECT_EQ(imported.substr(imported.size() - 13), "\\Settings.reg");
  EXPECT_FALSE(wine_test::exists(imported));
  EXPECT_FALSE(wine_test::exists(imported.substr(0, imported.size() - 13)));
  EXPECT_FALSE(wine_test::exists(setup + "\\Settings.reg"));

  const std::string &path = pkg.InstallPath;
  const std::string uninstall =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
      pkg.AppFullName;
  EXPECT_EQ(wine_test::reg_string(HKEY_LOCAL_MACHINE, uninstall, "DisplayName"),
            pkg.AppFullName);
  EXPECT_EQ(
      wine_test::reg_string(HKEY_LOCAL_MACHINE, uninstall, "DisplayVersion"),
      pkg.AppVersion);
  EXPECT_EQ(
      wine_test::reg_string(HKEY_LOCAL_MACHINE, uninstall, "InstallLocation"),
      path);
  EXPECT_EQ(
      wine_test::reg_string(HKEY_LOCAL_MACHINE, uninstall, "UninstallString"),
      GetSystemFolder(sys) + "\\unplant.exe /" + path);

  const std::string app = "Software\\" + pkg.AppShortName + "\\" +
                          pkg.AppFullName + "\\" + pkg.AppVersion;
  EXPECT_EQ(wine_test::reg_string(HKEY_LOCAL_MACHINE, app, "Cartella"), path);
  EXPECT_EQ(wine_test::reg_string(HKEY_LOCAL_MACHINE, app, "Database"),
            path + "\\" + pkg.DatabaseFile);
  EXPECT_EQ(wine_test::reg_string(HKEY_LOCAL_MACHINE, app, "Modelli"),
            path + "\\Modelli");
  EXPECT_EQ(wine_test::reg_dword(HKEY_LOCAL_MACHINE, app, "PrimoAvvio"), 1u);
  EXPECT_EQ(wine_test::reg_string(HKEY_LOCAL_MACHINE,
                                  app + "\\Jet\\3.5\\Engines", "SystemDB"),
            path + "\\" + pkg.WorkgroupFile);
  EXPECT_EQ(wine_test::reg_string(
                HKEY_LOCAL_MACHINE,
                "Software\\Microsoft\\Access Runtime\\8.0\\Profiles",
                pkg.AppFullName),
            app);

  const std::string prefs = "Software\\" + pkg.AppShortName + "\\Preferenze";
  EXPECT_EQ(wine_test::reg_string(HKEY_CURRENT_USER, prefs, "Runtime"),
            programFiles + "\\OfficeRT\\MSACCESS.EXE");
  std::string fonts = GetSpecialFolder(sys, csidl::Fonts);
  ASSERT_FALSE(fonts.empty());
  EXPECT_EQ(wine_test::reg_string(HKEY_CURRENT_USER, prefs, "Caratteri"),
            fonts.substr(0, fonts.size() - 1));
}

// The program starts in the system folder, whatever the installer's own
// current folder (the setup folder, which a user could have written to).
TEST_F(SettingsServices,
       RunAndWaitReturnsWhenTheProgramHasEndedAndStartsItInTheSystemFolder) {
  std::string folder = wine_test::scratch_folder("RunAndWait");
  ASSERT_TRUE(files.SetCurrentFolder(folder));
  const std::string system = GetSystemFolder(sys);
  const std::string result = folder + "\\risultato.txt";
  EXPECT_TRUE(processes.RunAndWait(system + "\\cmd.exe /c cd> \"" + result + "\""));
  std::string started = wine_test::read_file(result).value_or("");
  while (!started.empty() && (started.back() == '\n' || started.back() == '\r')) started.pop_back();
  EXPECT_EQ(LowerWindows(Widen(started)), LowerWindows(Widen(system)));
  EXPECT_FALSE(processes.RunAndWait("NonEsiste-1234.exe /S"));
  RunAndWait(processes, "NonEsiste-1234.exe /S"); // passed over in silence
}

// ---------------------------------------------------- shortcuts and groups

using wine_test::LinkInfo;
using wine_test::ReadLink;

struct ShortcutServices : SettingsServices {
  std::string programs, desktop, install;
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    programs = wine_test::scratch_folder("Programmi di prova");
    desktop = wine_test::scratch_folder("Scrivania di prova");
    install = wine_test::scratch_folder("Città Condominio");
    shell.folders = {{csidl::Programs, programs}, {csidl::Desktop, desktop}};
    cx.pkg().InstallPath = install;
    // Targets that exist, as after the copy phase.
    for (const char *name : {"\\condominio.exe", "\\condominio.ico"}) {
      HANDLE h = CreateFileW(Widen(install + name).c_str(), GENERIC_WRITE, 0,
                             nullptr, CREATE_ALWAYS, 0, nullptr);
      CloseHandle(h);
    }
  }
  void TearDown() override {
    SettingsServices::TearDown();
    CoUninitialize();
  }
  std::string Script() {
    return wine_test::read_ansi_text(install + "\\Uninstall.ini")
        .value_or("(none)");
  }
};

TEST_F(ShortcutServices,
       GroupShortcutReadsBackWithTargetArgumentsFolderAndIcon) {
  CreateShortcut(cx, csidl::Programs, "Contabilità Condominio",
                 install + "\\condominio.exe", "Contabilità",
                 "/cmd \"uno due\"", install + "\\condominio.ico");
  const std::string link =
      programs + "\\Contabilità Condominio\\Contabilità.Lnk";
  EXPECT_EQ(Script(), "LNK=" + link + "\r\n");
  auto info = ReadLink(link);
  ASSERT_TRUE(info) << link;
  EXPECT_EQ(LowerWindows(Widen(info->target)),
            LowerWindows(Widen(install + "\\condominio.exe")));
  EXPECT_EQ(info->arguments, "/cmd \"uno due\"");
  EXPECT_EQ(info->workingFolder, install);
  EXPECT_EQ(LowerWindows(Widen(info->icon)),
            LowerWindows(Widen(install + "\\condominio.ico")));
  EXPECT_EQ(info->iconIndex, 0);
}

TEST_F(ShortcutServices,
       DesktopIgnoresTheGroupAndAnEmptyGroupDoublesTheBackslash) {
  CreateShortcut(cx, csidl::Desktop, "Gruppo", install + "\\condominio.exe",
                 "Sul desktop", "", install + "\\condominio.ico");
  CreateShortcut(cx, csidl::Programs, "", install + "\\condominio.exe",
                 "Senza gruppo", "", install + "\\condominio.ico");
  EXPECT_EQ(Script(), "LNK=" + desktop + "\\Sul desktop.Lnk\r\nLNK=" +
                          programs + "\\\\Senza gruppo.Lnk\r\n");
  EXPECT_TRUE(wine_test::exists(desktop + "\\Sul desktop.Lnk"));
  EXPECT_FALSE(wine_test::exists(desktop + "\\Gruppo"));
  EXPECT_TRUE(wine_test::exists(programs + "\\Senza gruppo.Lnk"));
  EXPECT_TRUE(ReadLink(programs + "\\Senza gruppo.Lnk"));
}

TEST_F(ShortcutServices, UnwritableShortcutIsARunTimeErrorAfterItsLine) {
  // A group name Windows refuses: no folder, so the shortcut cannot be saved.
  try {
    CreateShortcut(cx, csidl::Programs, "No|valido",
                   install + "\\condominio.exe", "X", "", "");
    ADD_FAILURE() << "no error";
  } catch (const RuntimeError &e) {
    EXPECT_EQ(e.Number(), err::Automation);
  }
  EXPECT_EQ(Script(), "LNK=" + programs + "\\No|valido\\X.Lnk\r\n");
}

TEST_F(ShortcutServices, ProgramGroupNameListsVisibleFoldersOnly) {
  for (const char *name :
       {"Accessori", "Giochi", ".nascosta", "Nascosta", "Città"})
    ASSERT_TRUE(
        CreateDirectoryW(Widen(programs + "\\" + name).c_str(), nullptr))
        << name;
  SetFileAttributesW(Widen(programs + "\\Nascosta").c_str(),
                     FILE_ATTRIBUTE_HIDDEN);
  HANDLE h = CreateFileW(Widen(programs + "\\x.lnk").c_str(), GENERIC_WRITE, 0,
                         nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);

  std::set<std::string> names;
  for (int i = 1; i <= 3; ++i)
    names.insert(ProgramGroupName(sys, i));
  EXPECT_EQ(names, (std::set<std::string>{"Accessori", "Giochi", "Città"}));
  EXPECT_EQ(ProgramGroupName(sys, 4), "");
}

// ------------------------------------------------------- regional settings

struct RegionalServices : SettingsServices {
  static constexpr LCTYPE kTypes[] = {LOCALE_SSHORTDATE, LOCALE_SCURRENCY,
                                      LOCALE_ICURRDIGITS,
                                      LOCALE_SMONDECIMALSEP};
  std::map<LCTYPE, std::wstring> saved;
  static std::wstring Get(LCTYPE type) {
    wchar_t buffer[100] = {};
    int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 100);
    return n > 0 ? std::wstring(buffer) : L"(error)";
  }
  static void Set(LCTYPE type, const wchar_t *value) {
    SetLocaleInfoW(LOCALE_USER_DEFAULT, type, value);
  }
  void SetUp() override {
    for (LCTYPE t : kTypes)
      saved[t] = Get(t);
  }
  void TearDown() override {
    for (auto &[t, v] : saved)
      Set(t, v.c_str());
    SettingsServices::TearDown();
  }
};

TEST_F(RegionalServices, OldSettingsAreBroughtToFourDigitYearsAndTheEuro) {
  Set(LOCALE_SSHORTDATE, L"dd/MM/yy");
  Set(LOCALE_SCURRENCY, L"L.");
  Set(LOCALE_ICURRDIGITS, L"0");
  Set(LOCALE_SMONDECIMALSEP, L".");
  ASSERT_EQ(Get(LOCALE_SSHORTDATE), L"dd/MM/yy"); // the prefix takes them
  AdjustRegionalSettings(platform);
  EXPECT_EQ(Get(LOCALE_SSHORTDATE), L"dd/MM/yyyy");
  EXPECT_EQ(Get(LOCALE_SCURRENCY), L"\u20AC");
  EXPECT_EQ(Get(LOCALE_ICURRDIGITS), L"2");
  EXPECT_EQ(Get(LOCALE_SMONDECIMALSEP), L",");
}

TEST_F(RegionalServices, SettingsThatFitAreLeftAlone) {
  Set(LOCALE_SSHORTDATE, L"d/M/yyyy");
  Set(LOCALE_SCURRENCY, L"EUR \u20AC");
  Set(LOCALE_ICURRDIGITS, L"3");
  Set(LOCALE_SMONDECIMALSEP, L",");
  AdjustRegionalSettings(platform);
  EXPECT_EQ(Get(LOCALE_SSHORTDATE), L"d/M/yyyy");
  EXPECT_EQ(Get(LOCALE_SCURRENCY), L"EUR \u20AC");
  EXPECT_EQ(Get(LOCALE_ICURRDIGITS), L"3");
  EXPECT_EQ(Get(LOCALE_SMONDECIMALSEP), L",");
}

} // namespace
} // namespace tessaro
