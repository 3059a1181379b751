#include "engine/installation_run.h"

#include <cstdlib>
#include <exception>
#include <optional>

#include "box_title.h"
#include "engine/destination.h"
#include "engine/file_list.h"
#include "engine/file_times.h"
#include "engine/install_file.h"
#include "engine/package_shortcuts.h"
#include "engine/rollback_list.h"
#include "engine/uninstall_script.h"
#include "errors.h"
#include "exit_codes.h"
#include "services/special_folders.h"
#include "settings/helpers.h"
#include "settings/placeholders.h"
#include "settings/registry_import.h"
#include "settings/setup_folder.h"
#include "text.h"
#include "text_files.h"
#include "texts.h"

namespace tessaro {

namespace {

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

void ShowFatal(InstallerContext& cx, const char* text) {
  cx.sys.ui.ShowMessage(text, BoxTitle(cx), MsgIcon::Critical, MsgButtons::Ok);
}

// Self-registration through the library's own entry point. The library is
// called by its full path in the system folder: loaded by bare name it would
// come from the setup folder first, and register a file that EndOfSetup
// deletes.
bool SelfRegisters(InstallerContext& cx, const std::string& library) {
  std::optional<int32_t> result = cx.sys.processes.CallEntryPoint(library, "DllRegisterServer");
  const bool registered = result && *result == 0;
  Note(cx, "registrazione di " + library + ": " +
               (registered ? std::string("riuscita")
                : result   ? "non riuscita (codice " + std::to_string(*result) + ")"
                           : std::string("non riuscita (la libreria non si carica)")));
  return registered;
}

// A component is there when a file of its name is, whatever its attributes:
// a newer one kept, or one in use, serves as well as the package's.
bool ComponentThere(FileSystem& files, const std::string& path) {
  const FileRead<uint32_t> attributes = files.GetAttributes(path);
  return attributes && !(*attributes & attr::Directory);
}

// Steps 2 to 4: kv_shell.dll (registered), the uninstaller and the runtime
// library go into the system folder (PlaceComponent). A copy that could not
// be put in place because the file there is in use still counts, as long as
// a file of that name is there.
bool PlaceOwnComponents(InstallerContext& cx, const std::string& setup, const std::string& system) {
  Services& sys = cx.sys;
  const std::string shell = InFolder(system, "kv_shell.dll");
  PlaceComponent(cx, InFolder(setup, "kv_shell.dll"), shell);
  if (!ComponentThere(sys.files, shell)) {
    sys.ui.Beep();
    ShowFatal(cx, texts::kShellComponentError);
    return false;
  }
  if (!SelfRegisters(cx, shell)) {
    ShowFatal(cx, texts::kShellComponentError);
    return false;
  }

  const struct {
    const char* source;
    const char* target;
    const char* error;
  } copies[] = {{"Unplant.dll", "Unplant.Exe", texts::kUninstallerError},
                {"MsVBvm50.dll", "MsVBvm50.dll", texts::kRuntimeError}};
  for (const auto& copy : copies) {
    const std::string target = InFolder(system, copy.target);
    PlaceComponent(cx, InFolder(setup, copy.source), target);
    if (!ComponentThere(sys.files, target)) {
      sys.ui.Beep();
      ShowFatal(cx, copy.error);
      return false;
    }
  }
  return true;
}

// Step 8: every file of Setup.ftc. Each folder is made sure of once, when
// the list moves on to it, each destination is looked for once, and the
// installer's times are read once for all the files.
void CopyPackageFiles(InstallerContext& cx, InstallationView& view, const std::string& setup) {
  Services& sys = cx.sys;
  const std::string destination = cx.pkg().InstallPath;
  const std::string drive = destination.substr(0, 2);
  LineReader list(ReadTextFile(sys.files, sys.platform, InFolder(setup, "Setup.ftc")));
  const std::string failureLog = InFolder(destination, "Install.Log");
  WriteTextLinesOrFail(sys.files, sys.platform, failureLog, {});
  RollbackList rollback(cx, setup);

  KnownFacts known;
  known.installerTimes = sys.files.GetTimes(sys.platform.ProgramPath());
  // A new file is listed as soon as the copy has created it, before its
  // first byte, so that a cancel in the middle of the copy also removes the
  // part already written; anything that was there before never is. A list
  // that cannot be written stops the run, as it would anywhere else.
  std::optional<RuntimeError> listFailure;
  known.created = [&](const std::string& path) {
    try {
      rollback.Add(path);
      return true;
    } catch (const RuntimeError& error) {
      listFailure = error;
      return false;
    }
  };
  while (!list.AtEnd()) {
    std::string line = ExpandPlaceholders(cx, list.ReadLine(), false);
    std::optional<FileListEntry> entry = ParseFileListLine(line, drive);
    if (!entry) continue;
    if (entry->folder != known.readyFolder) {
      EnsureFolder(cx, entry->folder, true, false);
      known.readyFolder = entry->folder;
    }
    bool existedBefore = false;
    const std::string target = entry->folder + entry->name;
    known.destinationPresent = EntryExists(sys.files, target);
    const bool installed = InstallFile(cx, view, "files\\" + entry->name, target, entry->mayReplace,
                                       existedBefore, known);
    if (listFailure) throw *listFailure;
    if (!installed)
      AppendTextLineOrFail(sys.files, sys.platform, failureLog, texts::kFileNotCopied + entry->name);
  }
}

}  // namespace

RunOutcome InstallPackage(InstallerContext& cx, InstallationView& view) {
  Services& sys = cx.sys;
  // The arrow with the hourglass: the run works, and cancelling stays possible.
  sys.ui.SetWorkingPointer(true);
  cx.state.Installing = true;

  const std::string setup = SetupFolder(sys.platform);
  const std::string system = GetSystemFolder(sys);
  if (!PlaceOwnComponents(cx, setup, system)) return RunOutcome::ComponentFailed;

  const std::string destination = cx.pkg().InstallPath;
  EnsureFolder(cx, destination, true, false);
  // A drive root ("D:") needs its "\" to mean the root, not that drive's
  // current folder.
  sys.files.SetCurrentFolder(setup.size() == 2 ? setup + "\\" : setup);

  const std::string script = InFolder(destination, "Uninstall.ini");
  WriteUninstallHead(cx, setup, script);
  CopyPackageFiles(cx, view, setup);

  const std::string forms = InFolder(system, "fm20.dll");
  if (!FileIsPresent(sys.files, forms)) {
    sys.ui.Beep();
    ShowFatal(cx, texts::kFormsLibraryError);
    return RunOutcome::FormsFailed;
  }
  if (!SelfRegisters(cx, forms)) {
    ShowFatal(cx, texts::kFormsLibraryError);
    return RunOutcome::FormsFailed;
  }

  DrawProgress(view.Bar(0), sys.ui, 100, 100);
  DrawProgress(view.Bar(1), sys.ui, 100, 100);

  view.StopTimer();
  view.ShowWaitingWindow();
  sys.ui.PumpMessages();
  view.DisableCancel();
  ImportRegistrySettings(cx);
  AdjustRegionalSettings(sys.platform);

  view.SetWaitingText(texts::kWaitingShortcuts);
  CreateShortcuts(cx, view.DesktopShortcutWanted(), system);
  WriteUninstallTail(cx, script);

  view.CloseWaitingWindow();
  sys.ui.SetWorkingPointer(false);
  return RunOutcome::Completed;
}

void ReportCompletion(InstallerContext& cx) {
  UserInterface& ui = cx.sys.ui;
  if (!cx.state.RestartNeeded) {
    ui.ShowMessage(texts::kInstallCompleted, BoxTitle(cx), MsgIcon::Information, MsgButtons::Ok);
    return;
  }
  // Unattended, Windows restarts unless the command line said /NORESTART.
  if (ui.Ask(texts::kRestartQuestion, BoxTitle(cx), MsgIcon::Exclamation, MsgButtons::OkCancel,
             cx.state.NoRestart ? MsgAnswer::Cancel : MsgAnswer::Ok) == MsgAnswer::Cancel) {
    cx.state.RestartNeeded = false;
    cx.state.RestartDeclined = true;
  }
}

void RunInstallation(InstallerContext& cx, InstallationView& view) {
  RunOutcome outcome = RunOutcome::ComponentFailed;
  try {
    outcome = InstallPackage(cx, view);
  } catch (const std::exception& error) {
    // A file the run cannot go on without (the package's lists, the
    // uninstall script, Install.Log, the rollback list, Settings.reg) could
    // not be read or written. Let through, the error would leave the wizard
    // on its copy page with nothing said; the user is told instead and the
    // run ends as failed. The program's own end is no std::exception.
    cx.sys.ui.Beep();
    cx.sys.ui.ShowMessage(std::string(texts::kRunFailed) + "\r\n\r\n" + error.what(), BoxTitle(cx),
                          MsgIcon::Critical, MsgButtons::Ok);
  }
  switch (outcome) {
    case RunOutcome::Completed:
      ReportCompletion(cx);
      EndOfSetup(cx);
    case RunOutcome::ComponentFailed:
      cx.state.ExitCode = exitcode::Fatal;
      EndOfSetup(cx);
    case RunOutcome::FormsFailed:
      // Ends without clearing the setup folder or restarting.
      EndProgram(cx, exitcode::Fatal);
  }
  std::abort();  // every path above ends the program
}

}  // namespace tessaro
