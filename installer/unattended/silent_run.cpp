#include "unattended/silent_run.h"

#include <cstdlib>
#include <exception>

#include "engine/destination.h"
#include "engine/package_load.h"
#include "exit_codes.h"
#include "services/drive_info.h"
#include "settings/setup_folder.h"
#include "text.h"

namespace tessaro {

namespace {

// The drive page's judgement without the page: whether it would let the
// user go on, and its report for the transcript.
class DriveVerdict : public DriveSpaceView {
 public:
  void SetReport(const std::string& text) override { report = text; }
  void HideReport() override { report.clear(); }
  void SetWarning(int, const std::string& text) override { warning = text; }
  void SetNextEnabled(bool enabled) override { usable = enabled; }
  std::string report, warning;
  bool usable = true;
};

// The window of a silent run, with the desktop shortcuts the command line
// asked for in place of the group page's check box.
class SwitchedView : public InstallationView {
 public:
  SwitchedView(InstallationView& shown, bool desktop) : shown_(shown), desktop_(desktop) {}
  void SetStatusText(int index, const std::string& text) override {
    shown_.SetStatusText(index, text);
  }
  ProgressCanvas& Bar(int index) override { return shown_.Bar(index); }
  bool DesktopShortcutWanted() override { return desktop_; }
  void StopTimer() override { shown_.StopTimer(); }
  void DisableCancel() override { shown_.DisableCancel(); }
  void ShowWaitingWindow() override { shown_.ShowWaitingWindow(); }
  void SetWaitingText(const std::string& text) override { shown_.SetWaitingText(text); }
  void CloseWaitingWindow() override { shown_.CloseWaitingWindow(); }

 private:
  InstallationView& shown_;
  bool desktop_;
};

[[noreturn]] void Fail(InstallerContext& cx, const std::string& why) {
  Note(cx, why);
  cx.state.ExitCode = exitcode::Fatal;
  EndOfSetup(cx);
  std::abort();  // EndOfSetup does not return
}

std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  return TrimBlanks(line);
}

}  // namespace

void RunSilently(InstallerContext& cx, const CommandLine& line, InstallationView& view) {
  cx.state.NoRestart = line.noRestart;
  const bool loaded = RunStartupStep(cx, [&] {
    LoadPackage(cx);
    // Read as for the wizard's first page, though nobody sees it: a package
    // whose welcome text cannot be read stops both kinds of run alike.
    ReadWelcomeText(cx);
  });
  // The start-up's own error box has been answered; nothing may follow it.
  if (!loaded) Fail(cx, "avvio non riuscito: nulla è stato installato");
  Note(cx, "licenza accettata con l'installazione senza domande (/S)");

  // The group the group page would refuse ends the run before the
  // destination is looked at, or made.
  const std::string group = line.group ? *line.group : cx.pkg().ProgramGroup;
  bool refused = true;
  try {
    refused = ValidateProgramGroup(cx, group);
  } catch (const std::exception& error) {
    Note(cx, std::string("controllo del gruppo di programmi: ") + error.what());
  }
  if (refused) Fail(cx, "gruppo di programmi rifiutato: " + group);

  std::string path = line.destination ? *line.destination : cx.pkg().InstallPath;
  refused = true;
  try {
    refused = ValidateDestination(cx, path);
  } catch (const std::exception& error) {
    Note(cx, std::string("controllo della destinazione: ") + error.what());
  }
  if (refused) Fail(cx, "destinazione rifiutata: " + path);
  cx.pkg().InstallPath = path;

  DriveVerdict drive;
  try {
    CheckDriveSpace(cx.sys.files, cx.sys.platform, path.substr(0, 1) + ":\\", cx.pkg().PackageBytes,
                    drive);
  } catch (const std::exception& error) {
    drive.warning = error.what();
  }
  if (!drive.report.empty()) Note(cx, "unità: " + OneLine(drive.report));
  if (!drive.warning.empty()) Note(cx, "avviso sull'unità: " + OneLine(drive.warning));
  if (!drive.usable) Fail(cx, "unità non utilizzabile per l'installazione: " + path);

  if (line.group) cx.pkg().ProgramGroup = *line.group;
  Note(cx, "destinazione: " + path + "; gruppo di programmi: " + cx.pkg().ProgramGroup +
               "; collegamenti sul Desktop: " + (line.noDesktop ? "no" : "sì"));
  cx.state.WizardStep = 6;
  SwitchedView switched(view, !line.noDesktop);
  RunInstallation(cx, switched);
}

}  // namespace tessaro
