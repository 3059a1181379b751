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
  // A copy comes here twice per block, nearly always to an empty queue.
  // Asking whether anything waits is one call to the window server; an empty
  // PeekMessage costs more under Wine (a second look after the X events, then
  // the processor given away). Both take in the input still queued by X.
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

}  // namespace tessaro
