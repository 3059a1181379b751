#include "installation_run.h"

#include <exception>
#include <functional>

#include <cstdlib>
#include <vector>

#include "destination.h"
#include "errors.h"
#include "exit_codes.h"
#include "file_times.h"
#include "helpers.h"
#include "placeholders.h"
#include "registry_import.h"
#include "setup_folder.h"
#include "shortcuts.h"
#include "special_folders.h"
#include "text.h"
#include "text_files.h"
#include "texts.h"

namespace tessaro {

namespace {

constexpr int kPathFileAccessError = 75;
constexpr const char* kTenSpaces = "          ";

// Byte offset where the last `count` characters of a UTF-8 text begin, or
// npos when it holds fewer characters.
size_t StartOfLastChars(const std::string& text, size_t count) {
  size_t pos = text.size();
  for (size_t i = 0; i < count; ++i) {
    if (pos == 0) return std::string::npos;
    do {
      --pos;
    } while (pos > 0 && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80);
  }
  return pos;
}

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

void WriteLinesOrFail(Services& sys, const std::string& path,
                      const std::vector<std::string>& lines) {
  if (!WriteTextLines(sys.files, sys.platform, path, lines))
    throw RuntimeError(kPathFileAccessError, "Path/File access error: " + path);
}

void AppendOrFail(Services& sys, const std::string& path, const std::string& line) {
  if (!AppendTextLine(sys.files, sys.platform, path, line))
    throw RuntimeError(kPathFileAccessError, "Path/File access error: " + path);
}

std::string BoxTitle(InstallerContext& cx) {
  return cx.pkg().AppShortName + texts::kBoxTitleSuffix;
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

// Steps 2 to 4: kv_shell.dll (registered), the uninstaller and the runtime
// library go into the system folder. A copy refused because the file there
// is in use still counts, as long as a file of that name is present.
bool PlaceOwnComponents(InstallerContext& cx, const std::string& setup, const std::string& system) {
  Services& sys = cx.sys;
  const std::string shell = InFolder(system, "kv_shell.dll");
  CopyFileQuiet(sys.files, InFolder(setup, "kv_shell.dll"), shell);
  if (!FileIsPresent(sys.files, shell)) {
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
    CopyFileQuiet(sys.files, InFolder(setup, copy.source), target);
    if (!FileIsPresent(sys.files, target)) {
      sys.ui.Beep();
      ShowFatal(cx, copy.error);
      return false;
    }
    Note(cx, "componente: " + target);
  }
  return true;
}

// Step 7: lines 1, 2, 3 and 5 of Setup.dip, and the program group's folder
// in place of line 4.
void WriteUninstallHead(InstallerContext& cx, const std::string& setup, const std::string& script) {
  Services& sys = cx.sys;
  LineReader dip(ReadTextFile(sys.files, sys.platform, InFolder(setup, "Setup.dip")));
  std::vector<std::string> lines;
  for (int number = 1; number <= 5; ++number) {
    std::string line = dip.ReadLine();
    if (number == 4)
      line =
          texts::kProgramGroupLine + GetSpecialFolder(sys, csidl::Programs) + cx.pkg().ProgramGroup;
    lines.push_back(line);
  }
  WriteLinesOrFail(sys, script, lines);
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
  WriteLinesOrFail(sys, failureLog, {});
  // The rollback list stays open through the phase, every line written
  // straight to the file (nothing waits in a buffer of ours): a cancel at any
  // moment reads it complete. The cancel handler closes it before it reads.
  const std::string rollbackPath = InFolder(setup, "Uninstall.Tmp");
  FileFault fault = FileFault::None;
  cx.state.RollbackList = sys.files.OpenForWriting(rollbackPath, fault);
  if (!cx.state.RollbackList)
    throw RuntimeError(kPathFileAccessError, "Path/File access error: " + rollbackPath);
  struct Closer {
    InstallerState& state;
    ~Closer() { state.RollbackList.reset(); }
  } closer{cx.state};
  auto listForRollback = [&](const std::string& path) {
    const std::string line = sys.platform.ToAnsi(path + "\r\n");
    if (cx.state.RollbackList->Write(line.data(), line.size()) != FileFault::None)
      throw RuntimeError(kPathFileAccessError, "Path/File access error: " + rollbackPath);
  };

  KnownFacts known;
  known.installerTimes = sys.files.GetTimes(sys.platform.ProgramPath());
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
    // A new file is listed before its copy starts, so that a cancel in the
    // middle of the copy also removes the part already written.
    known.destinationPresent = FileIsPresent(sys.files, target);
    if (!known.destinationPresent) listForRollback(target);
    if (!InstallFile(cx, view, "files\\" + entry->name, target, entry->mayReplace, existedBefore,
                     known))
      AppendOrFail(sys, failureLog, texts::kFileNotCopied + entry->name);
  }
}

// Step 12, in this order: main program, database through the Access
// runtime, the package's extra shortcuts, the uninstaller.
void CreateShortcuts(InstallerContext& cx, InstallationView& view, const std::string& system) {
  const PackageValues& pkg = cx.pkg();
  const std::string& destination = pkg.InstallPath;
  const std::string& group = pkg.ProgramGroup;
  const bool desktop = view.DesktopShortcutWanted();
  const std::string icon = InFolder(destination, pkg.IconFile);
  // Cancelling is off by now: a shortcut that cannot be made (a special
  // folder Windows does not resolve) is left out, and the run goes on to
  // the uninstall script, the completion box and the end of setup. The user
  // is told once that some are missing.
  bool leftOut = false;
  auto attempt = [&cx, &leftOut](const std::function<void()>& make) {
    try {
      make();
    } catch (const std::exception& error) {
      Note(cx, std::string("collegamento non creato: ") + error.what());
      leftOut = true;
    }
  };

  if (!pkg.MainProgram.empty()) {
    const std::string target = InFolder(destination, pkg.MainProgram);
    attempt([&] { CreateShortcut(cx, csidl::Programs, group, target, pkg.AppFullName, "", icon); });
    if (desktop)
      attempt([&] { CreateShortcut(cx, csidl::Desktop, group, target, pkg.AppFullName, "", icon); });
  }
  if (!pkg.DatabaseFile.empty()) {
    attempt([&] {
      const std::string target =
          GetSpecialFolder(cx.sys, csidl::ProgramFiles) + texts::kAccessRuntime;
      const std::string arguments = " /wrkgrp \"" + InFolder(destination, pkg.WorkgroupFile) +
                                    "\" \"" + InFolder(destination, pkg.DatabaseFile) +
                                    "\" /user utente /runtime";
      attempt([&] {
        CreateShortcut(cx, csidl::Programs, group, target, pkg.AppFullName, arguments, icon);
      });
      if (desktop)
        attempt([&] {
          CreateShortcut(cx, csidl::Desktop, group, target, pkg.AppFullName, arguments, icon);
        });
    });
  }
  for (int i = 0; i < pkg.ShortcutCount && i < static_cast<int>(pkg.ExtraShortcuts.size()); ++i) {
    const ShortcutEntry& extra = pkg.ExtraShortcuts[i];
    attempt([&] {
      CreateShortcut(cx, csidl::Programs, group, InFolder(destination, extra.Target), extra.Name,
                     "", InFolder(destination, extra.Icon));
    });
  }
  const std::string uninstaller = InFolder(system, "unplant.exe");
  attempt([&] {
    CreateShortcut(cx, csidl::Programs, group, uninstaller, texts::kUninstallShortcut,
                   "/" + destination, uninstaller);
  });
  if (leftOut)
    cx.sys.ui.ShowMessage(texts::kShortcutsLeftOut, BoxTitle(cx), MsgIcon::Exclamation,
                          MsgButtons::Ok);
}

// Step 13: the installer's timestamp and what the uninstaller is to remove
// from the registry.
void WriteUninstallTail(InstallerContext& cx, const std::string& script) {
  Services& sys = cx.sys;
  auto expand = [&](const std::string& text) { return ExpandPlaceholders(cx, text, false); };
  const std::string appName = expand("§§KV_App_Name§§");
  const std::vector<std::string> lines = {
      "",
      ";[REMOVE]",
      LastWriteText(sys, sys.platform.ProgramPath()),
      "",
      ";[REGISTRY SECTION]",
      "RemoveKey:" +
          expand("LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                 "§§KV_App_Name§§"),
      "RemoveVal:LOCAL_MACHINE\\Software\\Microsoft\\Office\\8.0\\Access\\Profiles",
      kTenSpaces + appName,
      "RemoveVal:LOCAL_MACHINE\\Software\\Microsoft\\Access Runtime\\8.0\\Profiles",
      kTenSpaces + appName,
      "RemoveVal:" +
          expand("LOCAL_MACHINE\\Software\\§§KV_SH_Name§§\\§§KV_App_Name§§\\§§KV_Version§§"
                 "\\Jet\\3.5\\Engines"),
      std::string(kTenSpaces) + "SystemDB",
  };
  for (const std::string& line : lines) AppendOrFail(sys, script, line);
}

}  // namespace

std::optional<FileListEntry> ParseFileListLine(const std::string& line,
                                               const std::string& destinationDrive) {
  const size_t semicolon = line.find(';');
  if (semicolon == std::string::npos || semicolon == 0) return std::nullopt;
  // Separator and flag are the last two characters, both after the ";".
  const size_t tail = StartOfLastChars(line, 2);
  if (tail == std::string::npos || tail <= semicolon) return std::nullopt;

  FileListEntry entry;
  entry.name = line.substr(0, semicolon);
  entry.folder = line.substr(semicolon + 1, tail - semicolon - 1);
  if (entry.folder.find(':') == std::string::npos) entry.folder = destinationDrive + entry.folder;
  if (entry.folder.empty() || entry.folder.back() != '\\') entry.folder += '\\';
  const char flag = line.back();
  entry.mayReplace = flag >= '1' && flag <= '9';
  return entry;
}

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
  CreateShortcuts(cx, view, system);
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
