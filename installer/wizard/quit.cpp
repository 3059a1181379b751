#include "wizard/quit.h"

#include "box_title.h"
#include "engine/deferred_replacement.h"
#include "path_split.h"
#include "settings/setup_folder.h"
#include "texts.h"

namespace tessaro {

void RollBackCopiedFiles(InstallerContext& cx) {
  // The run lets go of its files first, so the one being written can be
  // deleted too.
  CloseRunFiles(cx.state);
  // A replacement cut short leaves the old file; its part-written copy goes.
  if (!cx.state.CopyScratch.empty()) DeleteFileIfPresent(cx.sys.files, cx.state.CopyScratch);
  // The run's own list. Uninstall.Tmp, its copy on disk, is never read back:
  // it lies in the setup folder, where any user's program can add lines to
  // it for the installer to delete with its rights.
  for (const std::string& path : cx.state.CreatedFiles) {
    if (DeleteFileIfPresent(cx.sys.files, path))
      Note(cx, (cx.sys.files.GetAttributes(path) ? "annullamento, non eliminato: "
                                                 : "annullamento, eliminato: ") +
                   path);
    RemoveFolderQuiet(cx.sys.files, FolderOfPath(path));
  }
  // Nothing waits for the next start, so nothing asks for a restart.
  TakeBackDeferrals(cx);
}

void CancelSetup(InstallerContext& cx, QuitView& view) {
  view.ShowQuitDialog();
  if (cx.state.Installing && cx.state.QuitConfirmed) {
    view.ShowWaitingWindow();
    cx.sys.ui.PumpMessages();
    view.SetWaitingText(texts::kCancellingInstallation);
    RollBackCopiedFiles(cx);
    view.CloseWaitingWindow();
    EndOfSetup(cx);
  }
  if (cx.state.QuitConfirmed) EndOfSetup(cx);
}

void CloseRequested(InstallerContext& cx, QuitView& view) {
  view.ShowQuitDialog();
  if (!cx.state.QuitConfirmed) return;
  // The files copied stay, but a cancelled installation never has Windows
  // restart to finish it.
  TakeBackDeferrals(cx);
  EndOfSetup(cx);
}

void BackToSetupClick(InstallerContext& cx) { cx.state.QuitConfirmed = false; }

void ExitSetupClick(InstallerContext& cx) {
  cx.state.QuitConfirmed = true;
  cx.sys.ui.ShowMessage(texts::kSetupInterrupted, BoxTitle(cx), MsgIcon::Critical, MsgButtons::Ok);
}

}  // namespace tessaro
