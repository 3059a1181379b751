#pragma once
// What an installation without a person shows: with /S a small window with
// the copy's two status texts and two bars, and with /VERYSILENT nothing at
// all. It has no cancel: nobody is there to answer the quit dialog.
#include <windows.h>

#include <optional>
#include <string>

#include "engine/installation_run.h"
#include "win32/handles.h"
#include "win32/progress_canvas_win.h"

namespace tessaro {

class SilentWindow : public InstallationView {
 public:
  // Makes and shows the window when `visible`; otherwise the bars and texts
  // go nowhere.
  void Create(HINSTANCE instance, bool visible);

  void SetStatusText(int index, const std::string& text) override;
  ProgressCanvas& Bar(int index) override { return *bars_[index == 0 ? 0 : 1]; }
  bool DesktopShortcutWanted() override { return true; }  // the command line decides
  void StopTimer() override {}
  void DisableCancel() override {}
  // The registry phase's waiting text takes the first status line.
  void ShowWaitingWindow() override;
  void SetWaitingText(const std::string& text) override;
  void CloseWaitingWindow() override {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  HWND status_[2] = {};
  HWND boxes_[2] = {};
  GdiObject font_;
  std::optional<Win32ProgressCanvas> bars_[2];
};

}  // namespace tessaro
