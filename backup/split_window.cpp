#include "split_window.h"

#include <exception>
#include <new>

#include "kvb_texts.h"

namespace tessaro::kvb {

int16_t NextAnimFrame(int16_t frame) {
  const int next = frame + 1;
  return static_cast<int16_t>(next >= kAnimPositions || next < 0 ? 0 : next);
}

void EnterBusy(SplitView& view, UserInterface& ui) {
  ui.SetBusyPointer(true);
  view.SetTimerEnabled(true);
  view.SetButtonEnabled(SplitButton::RestoreBackup, false);
  view.SetButtonEnabled(SplitButton::MakeBackup, false);
  view.SetCloseCaption(kvb_texts::kAbortCaption);
}

void ReturnToIdle(SplitView& view, UserInterface& ui, SplitState& state) {
  ui.SetBusyPointer(false);
  view.SetTimerEnabled(false);
  state.animFrame = 0;
  view.SetCloseCaption(kvb_texts::kCloseCaption);
  view.SetButtonEnabled(SplitButton::RestoreBackup, true);
  view.SetButtonEnabled(SplitButton::MakeBackup, true);
}

void AnimationTick(SplitView& view, SplitState& state) {
  state.animFrame = NextAnimFrame(state.animFrame);
  view.ShowAnimFrame(state.animFrame);
}

namespace {

bool AskYesNo(Services& sys, const char* text) {
  return sys.ui.ShowMessage(text, kvb_texts::kProgramTitle, MsgIcon::Question, MsgButtons::YesNo) ==
         MsgAnswer::Yes;
}

}  // namespace

void ChiudiClick(SplitView& view, Services& sys) {
  const char* question = view.TimerEnabled() ? kvb_texts::kInterruptOperation : kvb_texts::kExitNow;
  if (AskYesNo(sys, question)) sys.platform.ExitProgram(0);
}

bool QueryClose(SplitView& view, Services& sys) {
  if (view.TimerEnabled()) {
    // Ending here stops the operation wherever it stands.
    if (AskYesNo(sys, kvb_texts::kInterruptOperation)) sys.platform.ExitProgram(0);
    return false;
  }
  return AskYesNo(sys, kvb_texts::kExitNow);
}

void RunClick(SplitView& view, Services& sys, SplitState& state,
              const std::function<void()>& handler) {
  std::string why;
  try {
    handler();
    return;
  } catch (const std::bad_alloc&) {
    why = kvb_texts::kOutOfMemory;
  } catch (const std::exception& e) {
    why = e.what();
  }
  sys.ui.Beep();
  sys.ui.ShowMessage(why, kvb_texts::kProgramTitle, MsgIcon::Critical, MsgButtons::Ok);
  ReturnToIdle(view, sys.ui, state);
}

std::vector<std::string> CollectWindowTitles(const std::vector<TopWindow>& windows) {
  std::vector<std::string> titles;
  for (const TopWindow& w : windows) {
    if (!w.visible || w.hasParent || w.hasOwner || w.title.empty()) continue;
    // The table has 100 slots; any further windows are left out.
    if (titles.size() == kMaxWindowTitles) break;
    titles.push_back(w.title);
  }
  return titles;
}

std::vector<std::string> ListWindowTitles(SplitView& view) {
  return CollectWindowTitles(view.TopWindows());
}

}  // namespace tessaro::kvb
