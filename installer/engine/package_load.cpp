#include "engine/package_load.h"

#include <exception>

#include "box_title.h"
#include "engine/setup_dip.h"
#include "errors.h"
#include "exit_codes.h"
#include "settings/registry_access.h"
#include "settings/setup_folder.h"
#include "text_files.h"
#include "texts.h"

namespace tessaro {

namespace {

void AskAboutSafeMode(InstallerContext& cx) {
  int mode = cx.sys.platform.CleanBootMode();
  if (mode != 1 && mode != 2) return;
  cx.sys.ui.Beep();
  // Unattended, the administrator asked for the installation: it goes on.
  MsgAnswer answer = cx.sys.ui.Ask(texts::kSafeModeQuestion, texts::kSafeModeTitle,
                                   MsgIcon::Exclamation, MsgButtons::OkCancel, MsgAnswer::Ok);
  if (answer == MsgAnswer::Cancel) {
    cx.state.ExitCode = exitcode::Cancelled;
    EndOfSetup(cx);
  }
}

void EnterSetupFolder(InstallerContext& cx) {
  std::string folder = SetupFolder(cx.sys.platform);
  // "D:" alone names the drive's current folder, not its root. Checking the
  // package in whatever folder happens to be current would find another one.
  if (!cx.sys.files.SetCurrentFolder(folder.size() == 2 ? folder + "\\" : folder))
    throw RuntimeError(err::PathNotFound, "Path not found: " + folder);
}

void CheckPackageFiles(InstallerContext& cx) {
  cx.state.PackageFound = false;
  for (const char* name : kPackageFiles) {
    if (FileIsPresent(cx.sys.files, name)) continue;
    cx.sys.ui.Beep();
    cx.sys.ui.ShowMessage(texts::kMissingFileBefore + std::string(name) + texts::kMissingFileAfter,
                          texts::kMissingFileTitle, MsgIcon::Critical, MsgButtons::Ok);
    cx.state.ExitCode = exitcode::Fatal;
    EndOfSetup(cx);
  }
  cx.state.PackageFound = true;
}

}  // namespace

void LoadPackage(InstallerContext& cx) {
  AskAboutSafeMode(cx);
  EnterSetupFolder(cx);
  CheckPackageFiles(cx);

  Platform& platform = cx.sys.platform;
  std::string programFiles = RegistryText(cx.sys.registry, "LOCAL_MACHINE",
                                          "Software\\Microsoft\\Windows\\CurrentVersion\\",
                                          "ProgramFilesDir");
  ReadSetupDip(ReadTextFile(cx.sys.files, platform, "Setup.dip"), programFiles, cx.pkg());
  Note(cx, "pacchetto: " + cx.pkg().AppFullName + " (" + SetupFolder(platform) + ")");
}

std::string ReadWelcomeText(InstallerContext& cx) {
  return ReadTextFile(cx.sys.files, cx.sys.platform, "Welcome.txt");
}

bool RunStartupStep(InstallerContext& cx, const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    // The program's end is not an exception of this kind and passes through.
    cx.state.ExitCode = exitcode::Fatal;
    cx.sys.ui.Beep();
    cx.sys.ui.ShowMessage(texts::kStartupError, BoxTitle(cx),
                          MsgIcon::Critical, MsgButtons::Ok);
    return false;
  }
}

}  // namespace tessaro
