// The wizard's pages walked with the real Installer.exe: the licence warning,
// the destination check with folder creation, the drive report, the program
// groups, the summary, and the way back to the welcome page.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>

#include "robot.h"
#include "support.h"
#include "wizard/control_ids.h"

namespace {

using robot::Recording;
namespace ids = tessaro::ids;

const robot::WindowQuery kWizard{"TessaroFrmSetup", "", 0, true};

bool UnderWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}
// The program files folder Windows gives a program of the tests' kind, which
// is the installer's: "Program Files (x86)" for 32-bit ones on 64-bit Windows.
std::string ProgramFilesOfThisKind() {
  return UnderWow64() ? "C:\\Program Files (x86)" : "C:\\Program Files";
}

struct WizardPages : ::testing::Test {
  void SetUp() override {
    folder = wine_test::make_setup_folder();
    // Started as a person starts it, with only a transcript asked for.
    transcript = folder + ".log";
    DeleteFileW(robot::widen(transcript).c_str());
    installer = robot::Process::start(folder + "\\Installer.exe", {"/LOG=" + transcript}, "C:\\");
    ASSERT_TRUE(installer.started()) << installer.error();
    Recording r = robot::record_boxes(installer, {{}, kWizard, robot::Millis{20000}});
    ASSERT_EQ(r.end, Recording::End::window) << r.describe();
    wizard = r.window->hwnd;
    ASSERT_TRUE(robot::wait_control(wizard, ids::picStatus1));
  }

  HWND Hwnd(int id) {
    auto c = robot::find_control(wizard, id);
    return c ? c->hwnd : nullptr;
  }
  bool Shown(int id) {
    auto c = robot::find_control(wizard, id);
    return c && c->visible;
  }
  bool Becomes(int id, bool visible) {
    return robot::poll_until([&] { return Shown(id) == visible; }, robot::Millis{10000});
  }
  std::string Text(int id) { return robot::text_of(Hwnd(id)); }
  bool Checked(int id) { return SendMessageW(Hwnd(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // A person's click on an image button.
  void ClickImage(int id) {
    HWND image = Hwnd(id);
    PostMessageW(image, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(image, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  // Clicks Next and answers the one box it shows; returns that box.
  std::optional<robot::Box> NextWithBox(const std::string& answer) {
    ClickImage(ids::NextStep);
    auto box = robot::wait_box(installer.id());
    if (box) {
      robot::press(box->hwnd, answer);
      robot::wait_gone(box->hwnd);
    }
    return box;
  }
  std::vector<std::string> GroupList() {
    std::vector<std::string> names;
    HWND combo = Hwnd(ids::PrgGroup);
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::wstring name(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
      SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name.data()));
      names.push_back(robot::narrow(name.c_str()));
    }
    return names;
  }

  // Opens the quit dialog with a click on the image `id` of the wizard, or by
  // closing the wizard when `id` is 0.
  HWND OpenQuitDialog(int id) {
    if (id) {
      ClickImage(id);
    } else {
      robot::close_window(wizard);
    }
    auto dialog = robot::wait_window({"TessaroFrmQuit", "", installer.id(), true});
    return dialog ? dialog->hwnd : nullptr;
  }
  void ClickQuitImage(HWND dialog, int id) {
    HWND image = robot::find_control(dialog, id)->hwnd;
    PostMessageW(image, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(image, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  // Accepts the licence and moves on to the destination page.
  void ToDestinationPage() {
    ClickImage(ids::NextStep);
    ASSERT_TRUE(Becomes(ids::Accettazione, true));
    ASSERT_TRUE(robot::click(*robot::find_control(wizard, ids::Lic_Accetto)));
    ASSERT_TRUE(robot::poll_until([&] { return Checked(ids::Lic_Accetto); }, robot::Millis{5000}));
    ClickImage(ids::NextStep);
    ASSERT_TRUE(Becomes(ids::CopyPath, true));
  }

  // From the start to the group page, creating `destination`.
  void ToGroupPage(const std::string& destination) {
    ToDestinationPage();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(robot::set_text(Hwnd(ids::CopyPath), destination));
    ASSERT_TRUE(NextWithBox("Yes"));
    ASSERT_TRUE(Becomes(ids::Welcome, true));
    ClickImage(ids::NextStep);
    ASSERT_TRUE(Becomes(ids::PrgGroup, true));
  }
  std::string Transcript() { return wine_test::read_file(transcript).value_or(""); }

  std::string folder, transcript;
  robot::Process installer;
  HWND wizard = nullptr;
};

TEST_F(WizardPages, WalkToTheSummaryAndBackToTheStart) {
  // A program group of the user's own, to be offered in the list.
  wchar_t programs[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, programs, CSIDL_PROGRAMS, TRUE));
  std::string group = robot::narrow(programs) + "\\Ufficio di prova";
  CreateDirectoryW(robot::widen(group).c_str(), nullptr);
  std::string destination = "C:\\tessaro-tests\\Nuova destinazione\\Condominio";
  wine_test::remove_tree("C:\\tessaro-tests\\Nuova destinazione");

  // Page 1: the licence, not accepted by design.
  ClickImage(ids::NextStep);
  ASSERT_TRUE(Becomes(ids::Accettazione, true)) << robot::describe_windows(installer.id());
  auto licence = wine_test::read_ansi_text(folder + "\\Licence.txt");
  ASSERT_TRUE(licence);
  EXPECT_EQ(Text(ids::Welcome), *licence);
  EXPECT_TRUE(Checked(ids::Lic_NonAccetto));
  EXPECT_TRUE(Shown(ids::Previous));
  auto warning = NextWithBox("OK");
  ASSERT_TRUE(warning);
  EXPECT_EQ(warning->title, "Tessaro Installer");
  EXPECT_EQ(warning->text, "Per procedere OCCORRE accettare la LICENZA D'USO.");
  EXPECT_EQ(warning->icon, robot::Icon::critical);
  EXPECT_EQ(warning->captions(), "OK");
  EXPECT_TRUE(Shown(ids::Accettazione));

  // Page 2: accepted; a destination typed with blanks, created on request.
  ASSERT_TRUE(robot::click(*robot::find_control(wizard, ids::Lic_Accetto)));
  ASSERT_TRUE(robot::poll_until([&] { return Checked(ids::Lic_Accetto); }, robot::Millis{5000}));
  ClickImage(ids::NextStep);
  ASSERT_TRUE(Becomes(ids::CopyPath, true));
  EXPECT_FALSE(Shown(ids::Welcome));
  EXPECT_TRUE(Shown(ids::Browse));
  EXPECT_EQ(Text(ids::CopyPath), ProgramFilesOfThisKind() + "\\Condominio");
  ASSERT_TRUE(robot::set_text(Hwnd(ids::CopyPath), "  " + destination + "  "));
  auto create = NextWithBox("Yes");
  ASSERT_TRUE(create);
  EXPECT_EQ(create->text, "Il percorso non esiste: si desidera crearlo?");
  EXPECT_EQ(create->title, "Condominio setup");

  // Page 3: the drive report.
  ASSERT_TRUE(Becomes(ids::Welcome, true));
  EXPECT_TRUE(wine_test::exists(destination));
  EXPECT_NE(Text(ids::Welcome).find("C:\\ Informazioni sull'unità "), std::string::npos)
      << Text(ids::Welcome);
  // The empty warning box does not blank out a line of the report.
  EXPECT_EQ(Text(ids::ErroreSpazio), "");
  EXPECT_FALSE(Shown(ids::ErroreSpazio));
  EXPECT_FALSE(Shown(ids::CopyPath));
  EXPECT_TRUE(robot::find_control(wizard, ids::NextStep)->enabled);

  // Back to page 2: the path as checked, trimmed.
  ClickImage(ids::Previous);
  ASSERT_TRUE(Becomes(ids::CopyPath, true));
  EXPECT_EQ(Text(ids::CopyPath), destination);
  EXPECT_FALSE(Shown(ids::ErroreSpazio));

  // Pages 3 and 4: the empty new folder is accepted without a question.
  ClickImage(ids::NextStep);
  ASSERT_TRUE(Becomes(ids::Welcome, true));
  ClickImage(ids::NextStep);
  ASSERT_TRUE(Becomes(ids::PrgGroup, true));
  EXPECT_FALSE(robot::find_box(installer.id()));
  EXPECT_TRUE(Shown(ids::DeskShort) && Shown(ids::PrgIco));
  EXPECT_TRUE(Checked(ids::DeskShort));
  EXPECT_EQ(Text(ids::PrgGroup), "Contabilità Condominio");
  std::vector<std::string> groups = GroupList();
  EXPECT_NE(std::find(groups.begin(), groups.end(), "Ufficio di prova"), groups.end());

  // Page 5: the summary with the group as typed.
  ASSERT_TRUE(robot::set_text(Hwnd(ids::PrgGroup), "Amministrazione"));
  ClickImage(ids::NextStep);
  ASSERT_TRUE(Becomes(ids::PrgGroup, false));
  EXPECT_EQ(Text(ids::Welcome), "\r\n  Percorso di installazione:\r\n     " + destination +
                                    "\r\n\r\n  Gruppo di programmi:\r\n     Amministrazione");
  EXPECT_EQ(Text(ids::SelPath).substr(0, 40), "Il programma di installazione ha tutte l");

  // Back to page 0: the start-up again, the licence answer reset.
  for (int page = 5; page > 0; --page) ClickImage(ids::Previous);
  ASSERT_TRUE(Becomes(ids::Previous_Disabilitato, true));
  EXPECT_FALSE(Shown(ids::Accettazione));
  EXPECT_EQ(Text(ids::Welcome).substr(0, 44), "Benvenuti nel programma di installazione di ");
  EXPECT_FALSE(Checked(ids::Lic_Accetto));
  EXPECT_TRUE(Checked(ids::Lic_NonAccetto));

  RemoveDirectoryW(robot::widen(group).c_str());
}

TEST_F(WizardPages, QuitDialogGoesBackOrLeavesKeepingTheCreatedFolder) {
  std::string destination = "C:\\tessaro-tests\\Creata e lasciata";
  wine_test::remove_tree(destination);
  ToDestinationPage();
  ASSERT_TRUE(robot::set_text(Hwnd(ids::CopyPath), destination));
  ASSERT_TRUE(NextWithBox("Yes"));
  ASSERT_TRUE(Becomes(ids::Welcome, true));
  std::string report = Text(ids::Welcome);

  // «Indietro» from the cancel image: the same page, as it was.
  HWND dialog = OpenQuitDialog(ids::EndSetup);
  ASSERT_TRUE(dialog) << robot::describe_windows(installer.id());
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(dialog, region), ERROR) << "the dialog has no outline";
  DeleteObject(region);
  EXPECT_EQ(robot::text_of(robot::find_control(dialog, ids::quit::Label1)->hwnd),
            "L'installazione non è completa.");
  EXPECT_EQ(robot::text_of(robot::find_control(dialog, ids::quit::Label4)->hwnd),
            "Fare clic su «Indietro» per continuare l'installazione, oppure su «Uscita» per "
            "terminare.");
  EXPECT_FALSE(IsWindowEnabled(wizard));
  ClickQuitImage(dialog, ids::quit::BackToSetup_Blu);
  ASSERT_TRUE(robot::wait_gone(dialog));
  EXPECT_TRUE(installer.running());
  EXPECT_TRUE(
      robot::poll_until([&] { return IsWindowEnabled(wizard) != FALSE; }, robot::Millis{5000}));
  EXPECT_TRUE(Shown(ids::Welcome));
  EXPECT_EQ(Text(ids::Welcome), report);

  // Closing the window by the system asks too; «Indietro» keeps the wizard.
  dialog = OpenQuitDialog(0);
  ASSERT_TRUE(dialog);
  ClickQuitImage(dialog, ids::quit::BackToSetup);
  ASSERT_TRUE(robot::wait_gone(dialog));
  EXPECT_TRUE(installer.running());
  EXPECT_EQ(robot::top_windows(installer.id()).size(), 1u)
      << robot::describe_windows(installer.id());

  // «Uscita» from the small close image: the box, then the end of setup.
  dialog = OpenQuitDialog(ids::ESCI_ORA);
  ASSERT_TRUE(dialog);
  ClickQuitImage(dialog, ids::quit::EndSetup);
  Recording r = robot::record_boxes(installer, {"OK"});
  ASSERT_EQ(r.end, Recording::End::exited) << r.describe();
  ASSERT_EQ(r.boxes.size(), 1u) << r.describe();
  EXPECT_EQ(r.boxes[0].text, "Installazione interrotta dall'Utente.");
  EXPECT_EQ(r.boxes[0].title, "Condominio setup");
  EXPECT_EQ(r.exit_code, 1602u);
  EXPECT_TRUE(wine_test::exists(destination));
  EXPECT_FALSE(wine_test::exists(folder + "\\Setup.dip"));
  const std::string log = Transcript();
  EXPECT_EQ(log.rfind("\xEF\xBB\xBF", 0), 0u);
  for (const char* event : {"pagina 3: unità", "-> Sì\r\n",
                            "\"Installazione interrotta dall'Utente.\" -> OK\r\n",
                            "fine, codice di uscita 1602\r\n"})
    EXPECT_NE(log.find(event), std::string::npos) << event << "\n" << log;
}

// What an installation leaves behind that the two ways of running must agree on.
struct Installed {
  std::vector<std::string> files, shortcuts;
  std::string script;
  bool desktop = false;
  bool operator==(const Installed& o) const {
    return files == o.files && shortcuts == o.shortcuts && script == o.script &&
           desktop == o.desktop;
  }
};
std::string DesktopShortcut() {
  wchar_t desktop[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
  return robot::narrow(desktop) + "\\Contabilità Condominio v.3.2.Lnk";
}
Installed LookAtInstallation(const std::string& destination, const std::string& group) {
  return {wine_test::list_files(destination), wine_test::list_files(group),
          wine_test::read_ansi_text(destination + "\\Uninstall.ini").value_or("(none)"),
          wine_test::exists(DesktopShortcut())};
}

std::string SpecialFolder(int csidl) {
  wchar_t folder[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, folder, csidl, FALSE);
  return robot::narrow(folder);
}
void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// What the installed application finds: the components in the system folder
// of its kind (SysWOW64 for a 32-bit program on 64-bit Windows), and every
// value of the sample's settings, read back through the registry API by a
// stand-in program of the installer's kind. The expected values are
// Settings.lrk with its tokens filled in here, as such a program sees Windows.
void ExpectTheApplicationFindsItsInstallation(const std::string& destination) {
  wchar_t buffer[MAX_PATH] = {};
  if (UnderWow64()) {
    ASSERT_TRUE(GetSystemWow64DirectoryW(buffer, MAX_PATH));
    EXPECT_EQ(CharLowerW(buffer), std::wstring(L"c:\\windows\\syswow64"));
  } else {
    ASSERT_TRUE(GetSystemDirectoryW(buffer, MAX_PATH));
  }
  const std::string components = robot::narrow(buffer);
  for (const char* file : {"kv_shell.dll", "MsVBvm50.dll", "Unplant.Exe"})
    EXPECT_TRUE(wine_test::exists(components + "\\" + file)) << components << "\\" << file;

  auto settings = wine_test::read_ansi_text(wine_test::build_path("package\\Settings.lrk"));
  ASSERT_TRUE(settings);
  GetSystemDirectoryW(buffer, MAX_PATH);
  auto doubled = [](std::string path) { ReplaceAll(path, "\\", "\\\\"); return path; };
  const std::pair<const char*, std::string> tokens[] = {
      {"KV_App_Name", "Contabilità Condominio v.3.2"}, {"KV_SH_Name", "Condominio"},
      {"KV_Version", "3.2"}, {"KV_MDE", "condominio.mde"}, {"KV_MDW", "condominio.mdw"},
      {"KV_App_Path", doubled(destination)},
      {"KV_WIN_SYS_PATH", doubled(robot::narrow(CharLowerW(buffer)))},
      {"KV_Off_RT_Path", doubled(ProgramFilesOfThisKind() + "\\OfficeRT")},
      {"KV_WIN_FONTS_PATH", doubled(SpecialFolder(CSIDL_FONTS))}};
  for (const auto& [name, value] : tokens)
    ReplaceAll(*settings, std::string("\xC2\xA7\xC2\xA7") + name + "\xC2\xA7\xC2\xA7", value);
  ASSERT_EQ(settings->find("\xC2\xA7"), std::string::npos) << *settings;
  int values = 0;
  for (size_t at = settings->find("\n\""); at != std::string::npos; at = settings->find("\n\"", at + 1))
    ++values;

  const std::string folder = wine_test::scratch_folder("Impostazioni lette");
  HANDLE file = CreateFileW(robot::widen(folder + "\\attese.reg").c_str(), GENERIC_WRITE, 0,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, settings->data(), DWORD(settings->size()), &written, nullptr);
  CloseHandle(file);
  robot::Process reader = robot::Process::start(wine_test::standin("settings_reader.exe"),
                                                {folder + "\\attese.reg", folder + "\\lette.txt"});
  ASSERT_TRUE(reader.started()) << reader.error();
  ASSERT_TRUE(reader.wait_exit());
  const std::string report = wine_test::read_file(folder + "\\lette.txt").value_or("(none)");
  EXPECT_EQ(reader.exit_code(), 0u) << report;
  EXPECT_NE(report.find("valori " + std::to_string(values) + "\r\n"), std::string::npos) << report;
  EXPECT_GE(values, 10) << *settings;
}

// The settings the sample package's Settings.lrk makes, in the registry view
// of the tests' kind.
void DeleteSampleSettings() {
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) RegDeleteTreeW(root, L"Software\\Condominio");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                 L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Contabilità Condominio v.3.2");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Access Runtime");
}

// /S with the destination, group and no desktop shortcut of a person's
// clicks installs the same, with nobody answering anything.
TEST_F(WizardPages, SilentInstallationEqualsTheClickedOne) {
  const std::string destination = "C:\\Aziende\\Contabilità";
  wchar_t programs[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, programs, CSIDL_PROGRAMS, TRUE));
  const std::string group = robot::narrow(programs) + "\\Gestionali";
  auto clean = [&] {
    wine_test::remove_tree("C:\\Aziende");
    wine_test::remove_tree(group);
    DeleteFileW(robot::widen(DesktopShortcut()).c_str());
    DeleteSampleSettings();
  };
  clean();
  ToGroupPage(destination);
  if (HasFatalFailure()) return;
  ASSERT_TRUE(robot::set_text(Hwnd(ids::PrgGroup), "Gestionali"));
  ASSERT_TRUE(robot::click(*robot::find_control(wizard, ids::DeskShort)));
  ASSERT_TRUE(robot::poll_until([&] { return !Checked(ids::DeskShort); }, robot::Millis{5000}));
  ClickImage(ids::NextStep);
  ASSERT_TRUE(Becomes(ids::PrgGroup, false));
  ClickImage(ids::NextStep);
  Recording clicked = robot::record_boxes(installer, {"OK"}, robot::Millis{60000});
  ASSERT_EQ(clicked.end, Recording::End::exited) << clicked.describe();
  EXPECT_EQ(clicked.exit_code, 0u);
  const Installed byHand = LookAtInstallation(destination, group);
  EXPECT_NE(byHand.script.find("LNK="), std::string::npos);
  EXPECT_FALSE(byHand.desktop);
  ExpectTheApplicationFindsItsInstallation(destination);
  // The database opens in the Access runtime under the program files folder
  // of the installer's kind.
  CoInitialize(nullptr);
  auto database = wine_test::ReadLink(group + "\\Contabilità Condominio v.3.2.Lnk");
  ASSERT_TRUE(database) << testing::PrintToString(byHand.shortcuts);
  EXPECT_EQ(database->target, ProgramFilesOfThisKind() + "\\OfficeRT\\MSACCESS.EXE");

  clean();
  folder = wine_test::make_setup_folder();
  const std::string log = folder + "-silent.log";
  robot::Process silent = robot::Process::start_line(
      folder + "\\Installer.exe",
      "/S /D=\"" + destination + "\" /GROUP=Gestionali /NODESKTOP /LOG=" + log, "C:\\");
  ASSERT_TRUE(silent.started()) << silent.error();
  // The small progress window is all there is to see.
  auto shown = robot::wait_window({"TessaroSilentProgress", "", silent.id(), true});
  Recording r = robot::record_boxes(silent, {}, robot::Millis{60000});
  ASSERT_EQ(r.end, Recording::End::exited) << r.describe();
  EXPECT_TRUE(r.boxes.empty()) << r.describe();
  EXPECT_EQ(r.exit_code, 0u);
  EXPECT_TRUE(shown) << "no progress window";
  EXPECT_TRUE(LookAtInstallation(destination, group) == byHand);
  ExpectTheApplicationFindsItsInstallation(destination);
  const std::string transcript = wine_test::read_file(log).value_or("");
  for (const char* event :
       {"/S /D=\"C:\\Aziende\\Contabilità\" /GROUP=Gestionali /NODESKTOP", "pacchetto: Contabilità",
        "-> Sì (risposta senza domande)", "installato: C:\\Aziende\\Contabilità\\condominio.mde",
        "registrazione di ", "\\Settings.reg: codice di uscita 0\r\n",
        "collegamento: ", "\"Installazione completata.\" -> OK (risposta senza domande)",
        "fine, codice di uscita 0\r\n"})
    EXPECT_NE(transcript.find(event), std::string::npos) << event << "\n" << transcript;
  EXPECT_EQ(transcript.find("pagina"), std::string::npos);
  // The registry editor of the installer's kind: on 64-bit Windows the
  // Windows folder's one is 64-bit and would write the other registry view.
  // (Wine starts a 32-bit editor from either folder, so only the command
  // line tells the two apart here.)
  wchar_t editor[MAX_PATH] = {};
  if (UnderWow64()) {
    GetSystemWow64DirectoryW(editor, MAX_PATH);
  } else {
    GetWindowsDirectoryW(editor, MAX_PATH);
  }
  EXPECT_NE(transcript.find(robot::narrow(editor) + "\\Regedit.exe /S "), std::string::npos)
      << robot::narrow(editor) << "\n"
      << transcript;
  clean();
}

// IID_IAccessible, spelled out: mingw's x86-64 uuid and oleacc libraries
// both define it, and linking both would clash.
constexpr IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// What a screen reader learns of a window: its accessible name and role.
std::pair<std::string, long> Accessible(HWND hwnd) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, kIAccessible,
                                        reinterpret_cast<void**>(&object))))
    return {"(none)", 0};
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  VARIANT role;
  VariantInit(&role);
  std::pair<std::string, long> found{"", 0};
  if (SUCCEEDED(object->get_accName(self, &name)) && name) found.first = robot::narrow(name);
  if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) found.second = role.lVal;
  SysFreeString(name);
  object->Release();
  return found;
}

TEST_F(WizardPages, KeyboardAloneInstallsTheSamplePackage) {
  const std::string destination = "C:\\tessaro-tests\\Da tastiera";
  wine_test::remove_tree(destination);
  CoInitialize(nullptr);
  auto keys = [&](const std::string& k) { ASSERT_TRUE(robot::send_keys(wizard, k)) << k; };
  auto focusIs = [&](int id) {
    return robot::poll_until(
        [&] { return GetDlgCtrlID(robot::focused_control(installer.id())) == id; },
        robot::Millis{5000});
  };
  auto focusName = [&] {
    return robot::describe(robot::read_control(robot::focused_control(installer.id())));
  };

  // The image buttons are buttons to a screen reader, named as they read:
  // windows of the system's button class, which Windows' accessibility reports
  // as push buttons (Wine's reports every control as a client area).
  for (auto [id, name] : {std::pair{ids::NextStep, "Avanti"},
                          {ids::EndSetup, "Esci"},
                          {ids::Previous_Disabilitato, "Indietro"},
                          {ids::ESCI_ORA, "Esci"}}) {
    auto [accName, role] = Accessible(Hwnd(id));
    EXPECT_EQ(accName, name);
    EXPECT_TRUE(role == ROLE_SYSTEM_PUSHBUTTON || role == ROLE_SYSTEM_CLIENT) << role;
    wchar_t cls[16] = {};
    RealGetWindowClassW(Hwnd(id), cls, 15);
    EXPECT_STREQ(cls, L"Button");
  }

  // Page 0: Next has the focus; Tab goes round the text, Next and Esci (the
  // disabled Back is no stop), Shift+Tab back.
  EXPECT_TRUE(focusIs(ids::NextStep)) << focusName();
  keys("{TAB}");
  EXPECT_TRUE(focusIs(ids::EndSetup)) << focusName();
  keys("{TAB}");
  EXPECT_TRUE(focusIs(ids::Welcome)) << focusName();
  keys("+{TAB}");
  EXPECT_TRUE(focusIs(ids::EndSetup)) << focusName();

  // Enter is Next wherever the focus is, but on another button.
  keys("+{TAB}{ENTER}");
  ASSERT_TRUE(Becomes(ids::Accettazione, true)) << focusName();
  // Not accepted yet: the warning, closed with Enter.
  keys("{ENTER}");
  auto warning = robot::wait_box(installer.id());
  ASSERT_TRUE(warning);
  EXPECT_EQ(warning->text, "Per procedere OCCORRE accettare la LICENZA D'USO.");
  ASSERT_TRUE(robot::send_keys(warning->hwnd, "{ENTER}"));
  ASSERT_TRUE(robot::wait_gone(warning->hwnd));
  // The mnemonics choose the options; the arrows go from one to the other.
  keys("%c");
  EXPECT_TRUE(robot::poll_until([&] { return Checked(ids::Lic_Accetto); }, robot::Millis{5000}));
  keys("%n");
  EXPECT_TRUE(robot::poll_until([&] { return Checked(ids::Lic_NonAccetto); }, robot::Millis{5000}));
  keys("{LEFT}");
  EXPECT_TRUE(robot::poll_until([&] { return Checked(ids::Lic_Accetto); }, robot::Millis{5000}));
  EXPECT_TRUE(focusIs(ids::Lic_Accetto)) << focusName();

  // Page 2: the focus in the path, whose text typing replaces; the new
  // folder is created on Enter's answer.
  keys("{ENTER}");
  ASSERT_TRUE(Becomes(ids::CopyPath, true)) << robot::describe_windows(installer.id());
  EXPECT_TRUE(focusIs(ids::CopyPath)) << focusName();
  keys(destination);
  keys("{ENTER}");
  auto create = robot::wait_box(installer.id());
  ASSERT_TRUE(create) << Text(ids::CopyPath);
  EXPECT_EQ(create->text, "Il percorso non esiste: si desidera crearlo?");
  ASSERT_TRUE(robot::send_keys(create->hwnd, "{ENTER}"));  // Yes
  ASSERT_TRUE(Becomes(ids::CopyPath, false));
  EXPECT_TRUE(wine_test::exists(destination));

  // Page 3: Back is one Shift+Tab from Next, and Space presses it.
  EXPECT_TRUE(focusIs(ids::NextStep)) << focusName();
  keys("+{TAB}");
  EXPECT_TRUE(focusIs(ids::Previous)) << focusName();
  keys(" ");
  ASSERT_TRUE(Becomes(ids::CopyPath, true));
  EXPECT_EQ(Text(ids::CopyPath), destination);
  keys("{ENTER}");
  ASSERT_TRUE(Becomes(ids::CopyPath, false));
  keys("{ENTER}");

  // Page 4: the focus in the group's field; Space on the check box.
  ASSERT_TRUE(Becomes(ids::PrgGroup, true));
  EXPECT_TRUE(robot::poll_until(
      [&] { return GetParent(robot::focused_control(installer.id())) == Hwnd(ids::PrgGroup); },
      robot::Millis{5000}))
      << focusName();
  keys("{TAB} ");
  EXPECT_TRUE(robot::poll_until([&] { return !Checked(ids::DeskShort); }, robot::Millis{5000}));
  keys(" ");
  EXPECT_TRUE(robot::poll_until([&] { return Checked(ids::DeskShort); }, robot::Millis{5000}));

  // Esc opens the quit dialog and answers it «Indietro»; in it Tab lights
  // up «Uscita» and Shift+Tab «Indietro» again, which Enter presses.
  for (const char* answer : {"{ESC}", "{TAB}+{TAB}{ENTER}"}) {
    SCOPED_TRACE(answer);
    keys("{ESC}");
    auto dialog = robot::wait_window({"TessaroFrmQuit", "", installer.id(), true});
    ASSERT_TRUE(dialog);
    if (std::string(answer) != "{ESC}") {
      ASSERT_TRUE(robot::send_keys(dialog->hwnd, "{TAB}"));
      EXPECT_TRUE(robot::poll_until(
          [&] { return robot::find_control(dialog->hwnd, ids::quit::EndSetup_giallo)->visible; },
          robot::Millis{5000}));
      answer = "+{TAB}{ENTER}";
    }
    ASSERT_TRUE(robot::send_keys(dialog->hwnd, answer));
    ASSERT_TRUE(robot::wait_gone(dialog->hwnd));
    EXPECT_FALSE(robot::find_box(installer.id()));
    EXPECT_TRUE(Shown(ids::PrgGroup));
  }

  // Pages 5 and 6: Enter twice installs; Enter closes the last box.
  keys("{ENTER}");
  ASSERT_TRUE(Becomes(ids::PrgGroup, false));
  keys("{ENTER}");
  auto done = robot::wait_box(installer.id(), robot::Millis{60000});
  ASSERT_TRUE(done) << robot::describe_windows(installer.id());
  EXPECT_EQ(done->text, "Installazione completata.");
  ASSERT_TRUE(robot::send_keys(done->hwnd, "{ENTER}"));
  EXPECT_TRUE(installer.wait_exit(robot::Millis{30000}));
  for (const char* name : {"condominio.mde", "leggimi.txt", "Uninstall.ini"})
    EXPECT_TRUE(wine_test::exists(destination + "\\" + name)) << name;
  CoUninitialize();
}

// A file of `megabytes` zero bytes, made at once.
void MakeBigFile(const std::string& path, int megabytes) {
  HANDLE h = CreateFileW(robot::widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  LONG high = 0;
  SetFilePointer(h, megabytes << 20, &high, FILE_BEGIN);
  SetEndOfFile(h);
  CloseHandle(h);
}

// The cancel during the copy, by the cancel image and the quit dialog's
// «Uscita» clicked, or by Esc and then Tab and Enter in the dialog.
struct WizardCopy : WizardPages, ::testing::WithParamInterface<bool> {};

TEST_P(WizardCopy, ExitDuringTheCopyDeletesTheFilesTheRunCreated) {
  const bool byKeyboard = GetParam();
  // Two large files after the sample's own: the first in a folder of its
  // own, the second large enough for the cancel to land during its copy
  // however fast the copy has become.
  const std::string destination = "C:\\tessaro-tests\\Annullata";
  wine_test::remove_tree(destination);
  MakeBigFile(folder + "\\files\\primo.dat", 2);
  MakeBigFile(folder + "\\files\\secondo.dat", 512);
  auto list = wine_test::read_file(folder + "\\Setup.ftc");
  ASSERT_TRUE(list);
  HANDLE h = CreateFileW(robot::widen(folder + "\\Setup.ftc").c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  std::string lines = *list +
                      "\r\nprimo.dat;\xA7\xA7KV_App_Path\xA7\xA7\\Grandi;1\r\n"
                      "secondo.dat;\xA7\xA7KV_App_Path\xA7\xA7;1\r\n";
  DWORD written = 0;
  WriteFile(h, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  CloseHandle(h);

  ToGroupPage(destination);
  if (HasFatalFailure()) return;
  ClickImage(ids::NextStep);
  ASSERT_TRUE(Becomes(ids::PrgGroup, false));
  ClickImage(ids::NextStep);  // page 6: the run starts
  // The uninstall script's head comes after the page's last pause for
  // messages and before the copy's first: a click posted now reaches the
  // cancel image during the copy, however fast the copy goes.
  ASSERT_TRUE(robot::poll_until([&] { return wine_test::exists(destination + "\\Uninstall.ini"); },
                                robot::Millis{30000}))
      << robot::describe_windows(installer.id());
  EXPECT_TRUE(Shown(ids::picStatus0) && Shown(ids::lblStatus1));

  HWND dialog = nullptr;
  if (byKeyboard) {
    ASSERT_TRUE(robot::send_keys(wizard, "{ESC}"));
    auto quit = robot::wait_window({"TessaroFrmQuit", "", installer.id(), true});
    ASSERT_TRUE(quit) << robot::describe_windows(installer.id());
    dialog = quit->hwnd;
  } else {
    dialog = OpenQuitDialog(ids::EndSetup);
    ASSERT_TRUE(dialog) << robot::describe_windows(installer.id());
  }
  // The dialog holds the copy where it was: the file on the label is there,
  // part written.
  const std::string label = Text(ids::lblStatus0);
  ASSERT_EQ(label.rfind("Copia di ", 0), 0u) << label;
  const std::string cut = label.substr(9);
  auto sizeOf = [](const std::string& path) -> std::optional<uint64_t> {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(robot::widen(path).c_str(), GetFileExInfoStandard, &data))
      return std::nullopt;
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  };
  auto whole = sizeOf(folder + "\\files\\" + cut);
  ASSERT_TRUE(whole) << cut;
  wchar_t common[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, common, CSIDL_PROGRAM_FILES_COMMON, FALSE));
  std::string cutPath;
  for (const std::string& in :
       {destination, destination + "\\Grandi", destination + "\\Documenti",
        destination + "\\Modelli", robot::narrow(common) + "\\Condominio"}) {
    auto part = sizeOf(in + "\\" + cut);
    if (part && *part < *whole) cutPath = in + "\\" + cut;
  }
  ASSERT_FALSE(cutPath.empty()) << "no part-written " << cut;
  if (byKeyboard)
    ASSERT_TRUE(robot::send_keys(dialog, "{TAB}{ENTER}"));
  else
    ClickQuitImage(dialog, ids::quit::EndSetup);
  Recording r = robot::record_boxes(installer, {"OK"});
  ASSERT_EQ(r.end, Recording::End::exited) << r.describe();
  ASSERT_EQ(r.boxes.size(), 1u) << r.describe();
  EXPECT_EQ(r.boxes[0].text, "Installazione interrotta dall'Utente.");

  // Every file the run created is gone, the one cut off mid-copy included,
  // and the folder that held only such files; the destination stays with the
  // run's own files.
  EXPECT_FALSE(wine_test::exists(cutPath));
  for (const char* name : {"condominio.mde", "leggimi.txt", "Documenti\\guida.txt",
                           "Grandi\\primo.dat", "secondo.dat"})
    EXPECT_FALSE(wine_test::exists(destination + "\\" + name)) << name;
  EXPECT_FALSE(wine_test::exists(destination + "\\Grandi"));
  EXPECT_FALSE(wine_test::exists(destination + "\\Documenti"));
  EXPECT_TRUE(wine_test::exists(destination + "\\Uninstall.ini"));
  EXPECT_FALSE(wine_test::exists(folder + "\\Uninstall.Tmp"));
}

INSTANTIATE_TEST_SUITE_P(ByImageOrKeys, WizardCopy, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Esc" : "Image"; });

}  // namespace
