#pragma once
// The main window of the backup program as its logic sees it: the two
// window states, the busy animation's counter, closing and aborting, and the
// titles of the windows open on the desktop. The Win32 form implements
// SplitView; the unit tests drive the same logic against a recording view.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "progress.h"
#include "seams/services.h"

namespace tessaro::kvb {

// One top-level window as EnumWindows hands it over.
struct TopWindow {
  bool visible = false;
  bool hasParent = false;
  bool hasOwner = false;
  std::string title;  // as GetWindowText reads it into 256 characters
};

enum class SplitButton { MakeBackup, RestoreBackup };

class SplitView {
 public:
  virtual ~SplitView() = default;
  // Moves the window's top left corner, in twips; the size stays.
  virtual void MoveTo(int leftTwips, int topTwips) = 0;
  // Keeps the window above all others (or lets it go); true when Windows agreed.
  virtual bool SetTopMost(bool on) = 0;
  // The animation timer; its state tells whether an operation is under way.
  virtual void SetTimerEnabled(bool enabled) = 0;
  virtual bool TimerEnabled() = 0;
  virtual void SetButtonEnabled(SplitButton button, bool enabled) = 0;
  virtual void SetCloseCaption(const std::string& caption) = 0;
  // Shows animation position `frame` (0 to 17) in the animation box.
  virtual void ShowAnimFrame(int frame) = 0;
  // The two progress boxes: 0 the current file ("Parziale"), 1 the whole
  // operation ("Totale").
  virtual ProgressCanvas& StatusBar(int index) = 0;
  // The byte counter label.
  virtual void SetStatusText(const std::string& text) = 0;
  // Every top-level window of the desktop, in EnumWindows' order.
  virtual std::vector<TopWindow> TopWindows() = 0;
};

// The animation has 18 positions, 0 to 17, and the strip holds 17 frames, so
// the last position shows an empty frame.
inline constexpr int kAnimPositions = 18;
inline constexpr int kAnimFrameWidth = 260;
inline constexpr int kAnimFrameHeight = 40;
inline constexpr int kAnimStripFrames = 17;

// The position after `frame`: 1, 2 ... 17, then 0 again.
int16_t NextAnimFrame(int16_t frame);

// What the window keeps between events.
struct SplitState {
  int16_t animFrame = 0;
};

// An operation starts: hourglass, animation running, both operation buttons
// off, Chiudi becomes "&Annulla".
void EnterBusy(SplitView& view, UserInterface& ui);
// An operation has ended: arrow, animation stopped and rewound, Chiudi again,
// both operation buttons on.
void ReturnToIdle(SplitView& view, UserInterface& ui, SplitState& state);

// One tick of the animation timer: advances and shows the next position.
void AnimationTick(SplitView& view, SplitState& state);

// Chiudi pressed: asks, and ends the program on Yes (at once, in the middle
// of an operation too). No leaves everything as it is.
void ChiudiClick(SplitView& view, Services& sys);
// The window's close box: true when the window may close (which ends the
// program); false when the user said No. A Yes during an operation ends the
// program at once.
bool QueryClose(SplitView& view, Services& sys);

// Runs a button's handler. An error that escapes it is shown with the
// critical icon and the window returns to Idle, so nothing is lost silently
// and the window is never left Busy.
void RunClick(SplitView& view, Services& sys, SplitState& state, const std::function<void()>& handler);

inline constexpr size_t kMaxWindowTitles = 100;

// The titles of the visible, unowned, titled top-level windows, in
// enumeration order and in their own case. Only the first 100 are kept.
std::vector<std::string> CollectWindowTitles(const std::vector<TopWindow>& windows);
// The same for the windows open right now.
std::vector<std::string> ListWindowTitles(SplitView& view);

}  // namespace tessaro::kvb
