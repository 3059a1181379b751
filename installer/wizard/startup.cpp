#include "startup.h"

#include <exception>

#include "errors.h"
#include "registry_access.h"
#include "setup_dip.h"
#include "setup_folder.h"
#include "text.h"
#include "text_files.h"
#include "texts.h"

namespace tessaro {

std::string AppNameCaption(Platform& platform, const std::string& appFullName) {
  size_t blank = appFullName.find(" v.");
  if (blank == std::string::npos) return {};
  return platform.UpperCase(appFullName.substr(0, blank + 1));
}

std::string AppTitleCaption(Platform& platform, const std::string& appFullName) {
  return texts::kAppTitlePrefix + platform.UpperCase(appFullName);
}

std::string ReplaceWelcomeMarkers(const std::string& text, const std::string& appFullName) {
  std::string result = text;
  size_t from = 0;
  for (size_t at; (at = result.find('@', from)) != std::string::npos;) {
    std::string before = TrimBlanks(result.substr(0, at)) + " " + appFullName;
    result = before + TrimRightBlanks(result.substr(at + 1));
    from = before.size();
  }
  return result;
}

namespace {

void AskAboutSafeMode(InstallerContext& cx) {
  int mode = cx.sys.platform.CleanBootMode();
  if (mode != 1 && mode != 2) return;
  cx.sys.ui.Beep();
  MsgAnswer answer = cx.sys.ui.ShowMessage(texts::kSafeModeQuestion, texts::kSafeModeTitle,
                                           MsgIcon::Exclamation, MsgButtons::OkCancel);
  if (answer == MsgAnswer::Cancel) EndOfSetup(cx);
}

void EnterSetupFolder(InstallerContext& cx) {
  std::string folder = SetupFolder(cx.sys.platform);
  // "D:" alone names the drive's current folder, not its root.
  cx.sys.files.SetCurrentFolder(folder.size() == 2 ? folder + "\\" : folder);
}

void CheckPackageFiles(InstallerContext& cx) {
  for (const char* name : kPackageFiles) {
    if (FileIsPresent(cx.sys.files, name)) continue;
    cx.sys.ui.Beep();
    cx.sys.ui.ShowMessage(texts::kMissingFileBefore + std::string(name) + texts::kMissingFileAfter,
                          texts::kMissingFileTitle, MsgIcon::Critical, MsgButtons::Ok);
    EndOfSetup(cx);
  }
}

void LoadSteps(InstallerContext& cx, WizardView& view) {
  view.ApplyOutline();
  AskAboutSafeMode(cx);
  EnterSetupFolder(cx);
  CheckPackageFiles(cx);

  Platform& platform = cx.sys.platform;
  std::string programFiles = RegistryText(cx.sys.registry, "LOCAL_MACHINE",
                                          "Software\\Microsoft\\Windows\\CurrentVersion\\",
                                          "ProgramFilesDir");
  ReadSetupDip(ReadTextFile(cx.sys.files, platform, "Setup.dip"), programFiles, cx.pkg());

  view.SetAppName(AppNameCaption(platform, cx.pkg().AppFullName));
  view.SetAppTitle(AppTitleCaption(platform, cx.pkg().AppFullName));

  std::string welcome = ReadTextFile(cx.sys.files, platform, "Welcome.txt");
  view.SetWelcome(ReplaceWelcomeMarkers(welcome, cx.pkg().AppFullName));
}

}  // namespace

void FormLoad(InstallerContext& cx, WizardView& view) {
  try {
    LoadSteps(cx, view);
  } catch (const std::exception&) {
    // The program's end is not an exception of this kind and passes through.
    cx.sys.ui.Beep();
    cx.sys.ui.ShowMessage(texts::kStartupError, cx.pkg().AppShortName + texts::kBoxTitleSuffix,
                          MsgIcon::Critical, MsgButtons::Ok);
  }
}

}  // namespace tessaro
