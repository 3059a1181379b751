#pragma once
// The installation run: the installer's own components into the system
// folder, every file of Setup.ftc, the registry settings, the program group
// and its shortcuts, the uninstall script, and the way out.
#include <string>

#include "engine/copy_with_progress.h"
#include "installer_state.h"

namespace tessaro {

// What the run needs of the wizard window FrmSetup (and of the waiting window
// FrmRegistry) beyond the copy page's labels and bars.
class InstallationView : public CopyView {
 public:
  // Whether the check box DeskShort ("Crea collegamento anche su Desktop")
  // is ticked.
  virtual bool DesktopShortcutWanted() = 0;
  // Stops the wizard's timer tmrTime.
  virtual void StopTimer() = 0;
  // Disables the cancel image EndSetup: from here on the run cannot be
  // cancelled.
  virtual void DisableCancel() = 0;
  // Shows FrmRegistry, not modal, its label Attesa reading
  // "Attendere: aggiornamento del registro in corso...".
  virtual void ShowWaitingWindow() = 0;
  // Sets the caption of Attesa and repaints it at once.
  virtual void SetWaitingText(const std::string& text) = 0;
  // Closes FrmRegistry.
  virtual void CloseWaitingWindow() = 0;
};

// How InstallPackage ended.
enum class RunOutcome {
  Completed,        // everything done; ReportCompletion and EndOfSetup follow
  ComponentFailed,  // a component of the installer could not be put in place,
                    // the user was told; EndOfSetup follows
  FormsFailed,      // the forms library could not be registered, the user was
                    // told; the program ends at once, the setup folder untouched
};

// Every step of the run up to, not including, the completion message: the
// part a test can run in-process, since what follows ends the program.
RunOutcome InstallPackage(InstallerContext& cx, InstallationView& view);

// "Installazione completata." or, when a file waits for the next start, the
// restart question; Cancel there clears RestartNeeded.
void ReportCompletion(InstallerContext& cx);

// The whole run, entered from the wizard's last page. Never returns: it ends
// through EndOfSetup, or at once when the forms library fails.
[[noreturn]] void RunInstallation(InstallerContext& cx, InstallationView& view);

}  // namespace tessaro
