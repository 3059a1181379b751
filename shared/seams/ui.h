#pragma once
// What the programs ask of the user interface: modal message boxes, the beep,
// the mouse pointer and running pending window messages.
#include <string>

namespace tessaro {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Shows a modal message box and returns the button the user chose.
  virtual MsgAnswer ShowMessage(const std::string& text, const std::string& title, MsgIcon icon,
                                MsgButtons buttons) = 0;
  // Asks a question: a box with more than one button, stating where it is
  // asked the answer a run with nobody in front of it gives (`unattended`).
  // Shown as ShowMessage shows it; only a user interface that answers for
  // an absent person (the installer's silent run) takes the stated answer.
  virtual MsgAnswer Ask(const std::string& text, const std::string& title, MsgIcon icon,
                        MsgButtons buttons, MsgAnswer /*unattended*/) {
    return ShowMessage(text, title, icon, buttons);
  }
  virtual void Beep() = 0;
  // Hourglass while true, the default arrow otherwise.
  virtual void SetBusyPointer(bool busy) = 0;
  // The arrow with the hourglass while true: the program works, and the
  // user can still click (cancel); the default arrow otherwise.
  virtual void SetWorkingPointer(bool working) { SetBusyPointer(working); }
  // Lets window messages that are waiting run (a cancel click, a repaint).
  virtual void PumpMessages() = 0;
  // The same, for a loop that comes here thousands of times a second (the
  // progress bars of a copy): it may skip looking at the queue when it
  // looked less than a millisecond ago.
  virtual void PumpMessagesPaced() { PumpMessages(); }
};

}  // namespace tessaro
