#include "startup.h"

#include <exception>

#include "box_title.h"
#include "command_line.h"
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
  // Each marker: everything before it, blanks trimmed at both ends, then one
  // blank and the name; the text after the last marker loses its trailing
  // blanks. Built in one pass: the part before a marker is trimmed where it
  // ends, and at its start only while it is still short.
  size_t at = text.find('@');
  if (at == std::string::npos) return text;
  std::string result;
  size_t from = 0;
  for (; at != std::string::npos; at = text.find('@', from)) {
    result.append(text, from, at - from);
    while (!result.empty() && result.back() == ' ') result.pop_back();
    const size_t lead = result.find_first_not_of(' ');
    result.erase(0, lead == std::string::npos ? result.size() : lead);
    result += ' ';
    result += appFullName;
    from = at + 1;
  }
  return result + TrimRightBlanks(text.substr(from));
}

namespace {

void AskAboutSafeMode(InstallerContext& cx) {
  int mode = cx.sys.platform.CleanBootMode();
  if (mode != 1 && mode != 2) return;
  cx.sys.ui.Beep();
  MsgAnswer answer = cx.sys.ui.ShowMessage(texts::kSafeModeQuestion, texts::kSafeModeTitle,
                                           MsgIcon::Exclamation, MsgButtons::OkCancel);
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
  Note(cx, "pacchetto: " + cx.pkg().AppFullName + " (" + SetupFolder(platform) + ")");

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
    // The wizard stays open, but whatever follows, the run has failed.
    cx.state.ExitCode = exitcode::Fatal;
    cx.sys.ui.Beep();
    cx.sys.ui.ShowMessage(texts::kStartupError, BoxTitle(cx), MsgIcon::Critical, MsgButtons::Ok);
  }
}

}  // namespace tessaro
