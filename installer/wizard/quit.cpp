#include "wizard/quit.h"

#include <exception>

#include "box_title.h"
#include "path_split.h"
#include "settings/setup_folder.h"
#include "text.h"
#include "text_files.h"
#include "texts.h"

namespace tessaro {

void RollBackCopiedFiles(InstallerContext& cx) {
  // The run lets go of its files first, so the one being written can be
  // deleted too. The run writes the list line by line.
  CloseRunFiles(cx.state);
  // A replacement cut short leaves the old file; its part-written copy goes.
  if (!cx.state.CopyScratch.empty()) DeleteFileIfPresent(cx.sys.files, cx.state.CopyScratch);
  std::string list;
  try {
    list = ReadTextFile(cx.sys.files, cx.sys.platform, "Uninstall.Tmp");
  } catch (const std::exception&) {
    return;  // nothing to go by; the exit still follows
  }
  LineReader lines(list);
  while (!lines.AtEnd()) {
    const std::string path = lines.ReadLine();
    if (path.empty()) continue;
    if (DeleteFileIfPresent(cx.sys.files, path))
      Note(cx, (cx.sys.files.GetAttributes(path) ? "annullamento, non eliminato: "
                                                 : "annullamento, eliminato: ") +
                   path);
    RemoveFolderQuiet(cx.sys.files, FolderOfPath(path));
  }
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
  if (cx.state.QuitConfirmed) EndOfSetup(cx);
}

void BackToSetupClick(InstallerContext& cx) { cx.state.QuitConfirmed = false; }

void ExitSetupClick(InstallerContext& cx) {
  cx.state.QuitConfirmed = true;
  cx.sys.ui.ShowMessage(texts::kSetupInterrupted, BoxTitle(cx), MsgIcon::Critical, MsgButtons::Ok);
}

}  // namespace tessaro
