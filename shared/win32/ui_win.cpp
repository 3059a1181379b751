#include "ui_win.h"

#include "form_keys.h"
#include "wide.h"

namespace tessaro {

namespace {

UINT IconFlag(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical: return MB_ICONHAND;
    case MsgIcon::Question: return MB_ICONQUESTION;
    case MsgIcon::Exclamation: return MB_ICONEXCLAMATION;
    case MsgIcon::Information: return MB_ICONASTERISK;
    default: return 0;
  }
}

UINT ButtonFlag(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OkCancel: return MB_OKCANCEL;
    case MsgButtons::YesNo: return MB_YESNO;
    case MsgButtons::YesNoCancel: return MB_YESNOCANCEL;
    case MsgButtons::RetryCancel: return MB_RETRYCANCEL;
    case MsgButtons::AbortRetryIgnore: return MB_ABORTRETRYIGNORE;
    default: return MB_OK;
  }
}

MsgAnswer Answer(int id) {
  switch (id) {
    case IDCANCEL: return MsgAnswer::Cancel;
    case IDYES: return MsgAnswer::Yes;
    case IDNO: return MsgAnswer::No;
    case IDRETRY: return MsgAnswer::Retry;
    case IDABORT: return MsgAnswer::Abort;
    case IDIGNORE: return MsgAnswer::Ignore;
    default: return MsgAnswer::Ok;
  }
}

}  // namespace

MsgAnswer Win32Ui::ShowMessage(const std::string& text, const std::string& title, MsgIcon icon,
                               MsgButtons buttons) {
  HWND owner = owner_ && IsWindowVisible(owner_) ? owner_ : nullptr;
  UINT flags = IconFlag(icon) | ButtonFlag(buttons) | MB_SETFOREGROUND |
               (owner ? MB_APPLMODAL : MB_TASKMODAL);
  int id = MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), flags);
  return Answer(id);
}

void Win32Ui::Beep() { MessageBeep(MB_OK); }

void Win32Ui::SetBusyPointer(bool busy) {
  busy_ = busy;
  busyCursor_ = IDC_WAIT;
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Win32Ui::SetWorkingPointer(bool working) {
  busy_ = working;
  busyCursor_ = IDC_APPSTARTING;
  SetCursor(LoadCursorW(nullptr, working ? IDC_APPSTARTING : IDC_ARROW));
}

bool Win32Ui::ShowBusyCursor() const {
  if (!busy_) return false;
  SetCursor(LoadCursorW(nullptr, busyCursor_));
  return true;
}

void Win32Ui::PumpMessages() {
  // Nearly always to an empty queue. Asking whether anything waits is one
  // call to the window server; an empty PeekMessage costs more under Wine (a
  // second look after the X events, then the processor given away). Both
  // take in the input still queued by X.
  if (HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) return;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    // The keys too: Esc reaches the cancel handler in the middle of a copy.
    DispatchFormMessage(msg);
  }
}

void Win32Ui::PumpMessagesPaced() {
  // A copy comes here for both bars of every 32,000-byte block. Under Wine 8
  // every look at the queue is a round trip to the wineserver, whichever call
  // makes it (GetQueueStatus, GetInputState, PeekMessage, a wait of 0 ms),
  // 30-45 us here: more than a block's own reading and writing from a warm
  // cache. Looking once a millisecond at most, a click or a key waits a
  // millisecond and one block at worst before it runs; the counter itself
  // costs a tenth of a microsecond.
  static const LONGLONG ticksPerMs = [] {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart / 1000;
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  if (now.QuadPart < nextLook_) return;
  nextLook_ = now.QuadPart + ticksPerMs;
  PumpMessages();
}

}  // namespace tessaro
