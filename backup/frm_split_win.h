#pragma once
// frmSplit, the backup program's only window: the busy animation, the byte
// counter, the two progress bars and the three buttons. It stays above all
// other windows.
#include <windows.h>

#include <memory>
#include <string>

#include "copy_progress.h"
#include "split_window.h"
#include "win32/handles.h"
#include "win32/progress_canvas_win.h"
#include "win32/text_fit_win.h"
#include "win32/ui_win.h"

namespace tessaro {

class FrmSplit : public kvb::SplitView {
 public:
  FrmSplit(Services& sys, Win32Ui& ui, std::string dataFile, bool previousInstance)
      : sys_(sys), ui_(ui), dataFile_(std::move(dataFile)), previousInstance_(previousInstance) {}
  // Creates the window and its controls, hidden, as designed.
  bool Create(HINSTANCE instance);
  // Loads the form (which may end the program), then shows it.
  void LoadAndShow();
  HWND Handle() const { return hwnd_; }

  void MoveTo(int leftTwips, int topTwips) override;
  bool SetTopMost(bool on) override;
  void SetTimerEnabled(bool enabled) override;
  bool TimerEnabled() override { return timerEnabled_; }
  void SetButtonEnabled(kvb::SplitButton button, bool enabled) override;
  void SetCloseCaption(const std::string& caption) override;
  void ShowAnimFrame(int frame) override;
  ProgressCanvas& StatusBar(int index) override;
  void SetStatusText(const std::string& text) override;
  std::vector<kvb::TopWindow> TopWindows() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK AnimProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  // Handlers, named after the form's controls.
  void Form_Load();
  bool Form_QueryUnload();
  void MakeBackup_Click();
  void RestoreBackup_Click();
  void Chiudi_Click();
  void tmrTime_Timer();

  HWND AddControl(const wchar_t* cls, const std::string& text, DWORD style, int id, int left,
                  int top, int width, int height, HWND parent = nullptr);
  void BuildAnimationStrip();
  void FitBarLabels(HWND partial, HWND total);
  void PaintAnimation(HWND box);

  Services& sys_;
  Win32Ui& ui_;
  const std::string dataFile_;  // the command line: the data file to protect
  const bool previousInstance_;
  HWND hwnd_ = nullptr;
  HWND picAnim_ = nullptr, lblStatus_ = nullptr, picStatus_[2] = {};
  HWND MakeBackup_ = nullptr, RestoreBackup_ = nullptr, Chiudi_ = nullptr;
  std::unique_ptr<Win32ProgressCanvas> statusCanvas_[2];
  bool timerEnabled_ = false;
  kvb::SplitState state_;
  kvb::ByteCounters counters_;
  // picBuffer: the animation strip, one 260 x 40 frame per position.
  // The bitmap is declared first so that it outlives the DC it sits in.
  GdiObject stripBitmap_;
  MemoryDc picBuffer_;
  GdiObject font_;
  FontBook labelFonts_;  // the bars' names, in a size they fit
};

}  // namespace tessaro
