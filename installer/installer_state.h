#pragma once
// The installer's program-wide values: the package description read from
// Setup.dip, the flags of the run and the wizard's page. One instance lives in
// the program (see main_win.cpp); tests make their own.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "seams/services.h"

namespace tessaro {

struct ShortcutEntry {
  std::string Name;
  std::string Target;
  std::string Icon;
};

struct PackageValues {
  std::string AppFullName;
  std::string AppShortName;
  std::string ProgramGroup;
  std::string AppVersion;
  std::string InstallPath;  // no trailing "\"
  int32_t PackageBytes = 0;
  std::string MainProgram;
  std::string DatabaseFile;
  std::string WorkgroupFile;
  std::string IconFile;
  // Entries 1..ShortcutCount are in use; index 0 holds entry 1.
  std::array<ShortcutEntry, 10> ExtraShortcuts;
  uint8_t ShortcutCount = 0;
};

// Where the run's events go for support to read (the transcript); a run
// without one records nothing.
class EventLog {
 public:
  virtual ~EventLog() = default;
  virtual void Write(const std::string& event) = 0;
};

// A file the run left to be replaced at the next start of Windows, and what
// it added to wininit.ini for it: enough to take the replacement back.
struct Deferral {
  std::string temporary;     // the complete copy waiting beside the file
  std::string destination;   // the file it is to replace
  std::string wininitAdded;  // the bytes appended to wininit.ini
  bool wininitCreated = false;
};

struct InstallerState {
  PackageValues package;
  bool Installing = false;
  bool QuitConfirmed = false;
  bool RestartNeeded = false;
  // The user declined the restart that a file put in place at the next start
  // needs: the installation is complete only after one.
  bool RestartDeclined = false;
  // /NORESTART: a run with nobody in front of it declines that restart.
  bool NoRestart = false;
  // The process's exit code when something decided it (a fatal error, a
  // cancel); -1 lets the end of setup tell it from the run's outcome.
  int ExitCode = -1;
  // The eight package files were found beside the installer: only then is
  // the files\ folder there the package's own, to be emptied at the end.
  bool PackageFound = false;
  double BytesCopied = 0;
  int WizardStep = 0;
  // The two files of the copy in progress. They live here, not in the copy
  // routine, because a cancel during the copy must close them before it can
  // delete what the run created.
  std::unique_ptr<OpenFile> CopySource;
  std::unique_ptr<OpenFile> CopyDestination;
  // The numbered sibling a replacement is being copied into, while it is.
  std::string CopyScratch;
  // The rollback list Uninstall.Tmp, held open through the copy phase and
  // written a line at a time straight to the file.
  std::unique_ptr<OpenFile> RollbackList;
  // The same list as the run made it. A cancel goes by this one: the file
  // lies in the setup folder, where any user's program can add lines to it
  // for the installer to delete with its rights.
  std::vector<std::string> CreatedFiles;
  // The replacements the run left for the next start, in order.
  std::vector<Deferral> Deferrals;
  EventLog* Events = nullptr;
};

// Closes the files of the copy in progress, if any.
inline void CloseCopyFiles(InstallerState& state) {
  state.CopyDestination.reset();
  state.CopySource.reset();
}

// Closes every file the run holds open: the copy's and the rollback list.
inline void CloseRunFiles(InstallerState& state) {
  CloseCopyFiles(state);
  state.RollbackList.reset();
}

// What the installer's routines work with: Windows, and the program's values.
struct InstallerContext {
  Services sys;
  InstallerState& state;
  PackageValues& pkg() { return state.package; }
};

// Records one event of the run, when the run keeps a transcript.
inline void Note(InstallerContext& cx, const std::string& event) {
  if (cx.state.Events) cx.state.Events->Write(event);
}

}  // namespace tessaro
