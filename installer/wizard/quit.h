#pragma once
// Leaving the wizard: the quit dialog's answer, and the cancel handler that
// undoes an installation interrupted during its copy.
#include <string>

#include "installer_state.h"

namespace tessaro {

// What cancelling asks of the windows.
class QuitView {
 public:
  virtual ~QuitView() = default;
  // Shows FrmQuit modally; its buttons set QuitConfirmed before it closes.
  virtual void ShowQuitDialog() = 0;
  // The waiting window FrmRegistry and its label Attesa.
  virtual void ShowWaitingWindow() = 0;
  virtual void SetWaitingText(const std::string& text) = 0;
  virtual void CloseWaitingWindow() = 0;
};

// The cancel button of the wizard (EndSetup_Click): asks, and on an exit
// during the run deletes what the run created before leaving.
void CancelSetup(InstallerContext& cx, QuitView& view);
// The wizard window closed by the system (Form_Unload): asks, and leaves on
// an exit without deleting the files copied.
void CloseRequested(InstallerContext& cx, QuitView& view);

// The quit dialog's buttons.
void BackToSetupClick(InstallerContext& cx);  // «Indietro»
void ExitSetupClick(InstallerContext& cx);    // «Uscita»

// Deletes the files the run created (the list it also wrote to
// Uninstall.Tmp), in order, each followed by its folder when that is now
// empty, none through a junction or symbolic link; then takes back what the
// run left for the next start of Windows.
void RollBackCopiedFiles(InstallerContext& cx);

}  // namespace tessaro
