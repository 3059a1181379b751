#pragma once
#include <windows.h>

#include "seams/ui.h"

namespace tessaro {

class Win32Ui : public UserInterface {
 public:
  MsgAnswer ShowMessage(const std::string& text, const std::string& title, MsgIcon icon,
                        MsgButtons buttons) override;
  void Beep() override;
  void SetBusyPointer(bool busy) override;
  void SetWorkingPointer(bool working) override;
  void PumpMessages() override;
  void PumpMessagesPaced() override;

  // The window that owns the boxes; without one they are task-modal.
  void SetOwner(HWND owner) { owner_ = owner; }
  bool Busy() const { return busy_; }
  // For WM_SETCURSOR: while busy, shows the hourglass over the whole window
  // and answers true (the message is handled).
  bool ShowBusyCursor() const;

 private:
  HWND owner_ = nullptr;
  bool busy_ = false;
  const wchar_t* busyCursor_ = IDC_WAIT;
  LONGLONG nextLook_ = 0;  // performance-counter time of the next paced look
};

}  // namespace tessaro
