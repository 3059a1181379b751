// The installer's start-up, driven as a person would: the package check, the
// start-up error trap, the welcome page, and the clean setup folder after
// every way out.
#include <gtest/gtest.h>

#include <algorithm>

#include "robot.h"
#include "support.h"
#include "tessaro_version.h"
#include "wizard/control_ids.h"

namespace {

using robot::Icon;
using robot::Recording;

const robot::WindowQuery kWizard{"TessaroFrmSetup", "", 0, true};

// What the sample package puts in a setup folder, besides files\.
const std::vector<std::string> kPackageFiles = {"Licence.txt",  "Welcome.txt",  "unplant.dll",
                                                "kv_shell.dll", "Settings.lrk", "Setup.dip",
                                                "Setup.ftc",    "MsVBvm50.dll"};

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(robot::widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
}

// The user's own things that share the setup folder with the package.
void AddUsersFiles(const std::string& folder) {
  WriteBytes(folder + "\\Lettera al condominio.doc", "mia lettera");
  CreateDirectoryW(robot::widen(folder + "\\Foto").c_str(), nullptr);
  WriteBytes(folder + "\\Foto\\assemblea.jpg", "foto");
}

// After the installer has ended: only the installer itself and the user's
// files are left. When the package check failed, the folder is no package
// and its files\ is someone's own: it stays whole.
void ExpectOnlyUsersFilesLeft(const std::string& folder, bool packageFound = true) {
  std::vector<std::string> left = {"Foto\\assemblea.jpg", "Installer.exe",
                                   "Lettera al condominio.doc"};
  if (!packageFound)
    for (const char* name : {"condominio.ico", "condominio.mde", "condominio.mdw", "guida.txt",
                             "leggimi.txt", "modello_verbale.txt"})
      left.push_back(std::string("files\\") + name);
  EXPECT_EQ(wine_test::list_files(folder), left);
  EXPECT_EQ(wine_test::exists(folder + "\\files"), !packageFound);
}

robot::Process StartInstaller(const std::string& folder) {
  // Started from elsewhere: the installer must make its own folder current.
  robot::Process p = robot::Process::start(folder + "\\Installer.exe", {}, "C:\\");
  EXPECT_TRUE(p.started()) << p.error();
  return p;
}

// Leaving through the quit dialog: «Uscita», then the box that confirms it.
void ExitThroughQuitDialog(robot::Process& installer) {
  auto dialog = robot::wait_window({"TessaroFrmQuit", "", installer.id(), true});
  ASSERT_TRUE(dialog) << robot::describe_windows(installer.id());
  auto exit = robot::wait_control(dialog->hwnd, tessaro::ids::quit::EndSetup);
  ASSERT_TRUE(exit);
  PostMessageW(exit->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(exit->hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Recording r = robot::record_boxes(installer, {"OK"});
  ASSERT_EQ(r.end, Recording::End::exited) << r.describe();
  ASSERT_EQ(r.boxes.size(), 1u) << r.describe();
  EXPECT_EQ(r.boxes[0].text, "Installazione interrotta dall'Utente.");
  EXPECT_EQ(r.boxes[0].title, "Condominio setup");
  EXPECT_EQ(r.boxes[0].icon, Icon::critical);
}

std::string ControlText(HWND wizard, int id) {
  auto control = robot::wait_control(wizard, id);
  return control ? robot::text_of(control->hwnd) : "(no control " + std::to_string(id) + ")";
}

TEST(Startup, WelcomePageShowsTheSamplePackageAndClosingCleansUp) {
  std::string folder = wine_test::make_setup_folder();
  AddUsersFiles(folder);
  robot::Process installer = StartInstaller(folder);

  Recording r = robot::record_boxes(installer, {{}, kWizard, robot::Millis{20000}});
  ASSERT_EQ(r.end, Recording::End::window) << r.describe();
  EXPECT_TRUE(r.boxes.empty()) << r.describe();
  HWND wizard = r.window->hwnd;
  EXPECT_EQ(r.window->title, "Tessaro Installer");

  EXPECT_EQ(ControlText(wizard, tessaro::ids::Apptitle),
            "Installazione di CONTABILITÀ CONDOMINIO V.3.2");
  EXPECT_EQ(ControlText(wizard, tessaro::ids::AppName), "CONTABILITÀ CONDOMINIO ");
  std::string welcome = ControlText(wizard, tessaro::ids::Welcome);
  EXPECT_EQ(welcome.substr(0, welcome.find("\r\n")),
            "Benvenuti nel programma di installazione di Contabilità Condominio v.3.2 !");
  EXPECT_NE(
      welcome.find("Questo programma installerà Contabilità Condominio v.3.2 sul vostro computer."),
      std::string::npos)
      << welcome;
  EXPECT_EQ(welcome.find('@'), std::string::npos) << welcome;

  ASSERT_TRUE(robot::close_window(wizard));
  ExitThroughQuitDialog(installer);
  EXPECT_EQ(installer.exit_code(), 1602u);  // cancelled by the user
  ExpectOnlyUsersFilesLeft(folder);
}

TEST(Startup, MissingPackageFileIsReportedAndNothingAfterIt) {
  std::string folder = wine_test::make_setup_folder();
  AddUsersFiles(folder);
  DeleteFileW(robot::widen(folder + "\\kv_shell.dll").c_str());
  DeleteFileW(robot::widen(folder + "\\Setup.ftc").c_str());
  robot::Process installer = StartInstaller(folder);

  Recording r = robot::record_boxes(installer, {"OK"});
  ASSERT_EQ(r.end, Recording::End::exited) << r.describe();
  ASSERT_EQ(r.boxes.size(), 1u) << r.describe();
  const robot::Box& box = r.boxes[0];
  EXPECT_EQ(box.title, "Errore critico");
  EXPECT_EQ(box.text,
            "Impossibile trovare kv_shell.dll. Il file è necessario per eseguire l'installazione.");
  EXPECT_EQ(box.icon, Icon::critical);
  EXPECT_EQ(box.captions(), "OK");
  EXPECT_EQ(r.exit_code, 1603u);  // a fatal error
  ExpectOnlyUsersFilesLeft(folder, false);
}

TEST(Startup, HiddenPackageFileCountsAsMissing) {
  std::string folder = wine_test::make_setup_folder();
  AddUsersFiles(folder);
  ASSERT_TRUE(
      SetFileAttributesW(robot::widen(folder + "\\Setup.dip").c_str(), FILE_ATTRIBUTE_HIDDEN));
  robot::Process installer = StartInstaller(folder);

  Recording r = robot::record_boxes(installer, {"OK"});
  ASSERT_EQ(r.end, Recording::End::exited) << r.describe();
  ASSERT_EQ(r.boxes.size(), 1u) << r.describe();
  EXPECT_EQ(r.boxes[0].text,
            "Impossibile trovare Setup.dip. Il file è necessario per eseguire l'installazione.");
  ExpectOnlyUsersFilesLeft(folder, false);
}

TEST(Startup, DescriptionEndingInsideAShortcutGroupShowsTheCriticalErrorAndKeepsTheWizard) {
  for (const char* tail : {"\r\n", "\r\n\r\n"}) {
    SCOPED_TRACE(std::to_string(std::string(tail).size() / 2) + " empty line(s)");
    std::string folder = wine_test::make_setup_folder();
    AddUsersFiles(folder);
    auto dip = wine_test::read_file(folder + "\\Setup.dip");
    ASSERT_TRUE(dip);
    WriteBytes(folder + "\\Setup.dip", *dip + tail);
    robot::Process installer = StartInstaller(folder);

    Recording r = robot::record_boxes(installer, {{"OK"}, kWizard, robot::Millis{20000}});
    ASSERT_EQ(r.end, Recording::End::window) << r.describe();
    ASSERT_EQ(r.boxes.size(), 1u) << r.describe();
    EXPECT_EQ(r.boxes[0].title, "Condominio setup");
    EXPECT_EQ(r.boxes[0].text, "Errore critico di installazione #410#.");
    EXPECT_EQ(r.boxes[0].icon, Icon::critical);
    EXPECT_EQ(r.boxes[0].captions(), "OK");
    // The wizard stays open with what was loaded before the error.
    EXPECT_TRUE(installer.running());
    EXPECT_EQ(ControlText(r.window->hwnd, tessaro::ids::Apptitle), "Titolo Applicazione");

    ASSERT_TRUE(robot::close_window(r.window->hwnd));
    ExitThroughQuitDialog(installer);
    ExpectOnlyUsersFilesLeft(folder);
  }
}

TEST(Startup, CloseImageAsksThenLeavesThroughTheEndOfSetup) {
  std::string folder = wine_test::make_setup_folder();
  AddUsersFiles(folder);
  robot::Process installer = StartInstaller(folder);
  Recording r = robot::record_boxes(installer, {{}, kWizard, robot::Millis{20000}});
  ASSERT_EQ(r.end, Recording::End::window) << r.describe();
  auto close = robot::wait_control(r.window->hwnd, tessaro::ids::ESCI_ORA);
  ASSERT_TRUE(close);
  // The image reacts to the mouse button, as a person's click.
  PostMessageW(close->hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(close->hwnd, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  ExitThroughQuitDialog(installer);
  ExpectOnlyUsersFilesLeft(folder);
}

}  // namespace

namespace {

// The wizard window itself: its outline and its image buttons.
struct WizardWindow : ::testing::Test {
  void SetUp() override {
    folder = wine_test::make_setup_folder();
    installer = StartInstaller(folder);
    Recording r = robot::record_boxes(installer, {{}, kWizard, robot::Millis{20000}});
    ASSERT_EQ(r.end, Recording::End::window) << r.describe();
    wizard = r.window->hwnd;
    ASSERT_TRUE(robot::wait_control(wizard, tessaro::ids::EndSetup_giallo));
  }
  bool Visible(int id) {
    auto c = robot::find_control(wizard, id);
    return c && c->visible;
  }
  // Waits until the image is shown or hidden as expected.
  bool Becomes(int id, bool visible) {
    return robot::poll_until([&] { return Visible(id) == visible; }, robot::Millis{5000});
  }
  void PointerOver(HWND hwnd) { PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }
  HWND Control(int id) {
    auto c = robot::find_control(wizard, id);
    return c ? c->hwnd : nullptr;
  }

  std::string folder;
  robot::Process installer;
  HWND wizard = nullptr;
};

TEST_F(WizardWindow, IsCutToItsOutline) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(wizard, region), ERROR) << "the wizard has no region";
  RECT box;
  GetRgnBox(region, &box);
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  auto px = [&](int design) { return MulDiv(design, dpi, 96); };
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, px(4));
  // Rounded-rectangle regions leave out their last column and row.
  EXPECT_NEAR(box.right, px(547), 1);
  EXPECT_NEAR(box.bottom, px(405), 1);
  EXPECT_TRUE(PtInRegion(region, px(100), px(380)));   // the lower left tab
  EXPECT_FALSE(PtInRegion(region, px(400), px(380)));  // cut away below the panel
  EXPECT_FALSE(PtInRegion(region, px(1), px(1)));      // above the rounded top
  DeleteObject(region);
}

TEST_F(WizardWindow, ImageButtonsLightUpUnderThePointer) {
  using namespace tessaro::ids;
  EXPECT_TRUE(Visible(NextStep));
  EXPECT_FALSE(Visible(Avanti_Blu));
  EXPECT_TRUE(Visible(Previous_Disabilitato));

  PointerOver(Control(NextStep));
  EXPECT_TRUE(Becomes(Avanti_Blu, true));
  EXPECT_TRUE(Becomes(NextStep, false));

  PointerOver(wizard);  // straight onto the background
  EXPECT_TRUE(Becomes(NextStep, true));
  EXPECT_TRUE(Becomes(Avanti_Blu, false));
  EXPECT_TRUE(Visible(Previous_Disabilitato));

  PointerOver(Control(EndSetup));
  EXPECT_TRUE(Becomes(EndSetup, false));
  PointerOver(Control(Welcome));  // the text passes the pointer on to the form
  EXPECT_TRUE(Becomes(EndSetup, true));
}

TEST_F(WizardWindow, CancelImageAsksThenLeavesThroughTheEndOfSetup) {
  AddUsersFiles(folder);
  HWND cancel = Control(tessaro::ids::EndSetup);
  ASSERT_TRUE(cancel);
  PostMessageW(cancel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(cancel, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ExitThroughQuitDialog(installer);
  ExpectOnlyUsersFilesLeft(folder);
}

}  // namespace

namespace {

// The sizes of the images in a program's icon 1, which LoadIconW(instance, 1)
// must find; none when it does not.
std::vector<int> IconSizes(const std::string& program) {
  std::vector<int> sizes;
  HMODULE module = LoadLibraryExW(robot::widen(program).c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return sizes;
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  const BYTE* data =
      group ? static_cast<const BYTE*>(LockResource(LoadResource(module, group))) : nullptr;
  // A group: three words, then 14 bytes per image, its width first.
  const int count = data && LoadIconW(module, MAKEINTRESOURCEW(1)) ? data[4] | data[5] << 8 : 0;
  for (int i = 0; i < count; ++i) sizes.push_back(data[6 + 14 * i] ? data[6 + 14 * i] : 256);
  FreeLibrary(module);
  return sizes;
}

// One text of a program's Italian (0410, Windows-1252) version strings, as
// Explorer's Details tab reads it; empty when missing.
std::string VersionText(const std::string& program, const wchar_t* name) {
  const std::wstring path = robot::widen(program);
  DWORD ignored = 0;
  std::vector<char> data(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  if (data.empty() || !GetFileVersionInfoW(path.c_str(), 0, DWORD(data.size()), data.data()))
    return {};
  wchar_t* text = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\041004E4\\") + name;
  if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) ||
      !text)
    return {};
  return robot::narrow(text);
}

TEST(Startup, BothProgramsCarryTheirIconAndTheProjectsVersion) {
  for (const std::string& program : {wine_test::installer_exe(), wine_test::kvb_exe()}) {
    const std::vector<int> sizes = IconSizes(program);
    for (int size : {16, 32, 48})
      EXPECT_NE(std::find(sizes.begin(), sizes.end(), size), sizes.end()) << program << " " << size;
    EXPECT_EQ(VersionText(program, L"CompanyName"), "Tessaro") << program;
    EXPECT_EQ(VersionText(program, L"ProductVersion"), TESSARO_VERSION_TEXT) << program;
    EXPECT_EQ(VersionText(program, L"FileVersion"), TESSARO_VERSION_TEXT) << program;
    EXPECT_EQ(VersionText(program, L"LegalCopyright"),
              "\u00a9 " TESSARO_COPYRIGHT_YEAR " Tessaro. Tutti i diritti riservati.")
        << program;
    EXPECT_NE(VersionText(program, L"FileDescription"), "") << program;
  }
  EXPECT_EQ(VersionText(wine_test::installer_exe(), L"ProductName"), "Tessaro Installer");
  EXPECT_EQ(VersionText(wine_test::kvb_exe(), L"ProductName"), "Tessaro Backup");
}

}  // namespace
