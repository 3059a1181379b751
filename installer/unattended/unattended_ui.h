#pragma once
// The user interface of a run that may have nobody in front of it. Every box
// of the installer goes through here: it is written to the transcript with
// the answer, and in a silent run it is never shown — each question gets its
// fixed answer, so no path can wait for a person.
#include <optional>
#include <string>

#include "seams/ui.h"
#include "transcript.h"

namespace tessaro {

// The answer a silent run gives to a box: "create the folder?" and
// "overwrite its files?" Yes; the restart question OK, or Cancel with
// /NORESTART; the safe-mode question OK (the administrator asked for the
// installation); a box with only OK, OK. Any other choice of buttons gets
// the one that goes no further (Cancel, No, Abort), never a retry.
MsgAnswer SilentAnswer(const std::string& text, MsgButtons buttons, bool noRestart);

class UnattendedUi : public UserInterface {
 public:
  // `person` shows boxes and the pointer; `transcript` may be null.
  UnattendedUi(UserInterface& person, Transcript* transcript, bool silent, bool noRestart)
      : person_(person), transcript_(transcript), silent_(silent), noRestart_(noRestart) {}
  MsgAnswer ShowMessage(const std::string& text, const std::string& title, MsgIcon icon,
                        MsgButtons buttons) override;
  void Beep() override {
    if (!silent_) person_.Beep();
  }
  void SetBusyPointer(bool busy) override { person_.SetBusyPointer(busy); }
  void SetWorkingPointer(bool working) override { person_.SetWorkingPointer(working); }
  void PumpMessages() override { person_.PumpMessages(); }
  void PumpMessagesPaced() override { person_.PumpMessagesPaced(); }

 private:
  UserInterface& person_;
  Transcript* transcript_;
  bool silent_;
  bool noRestart_;
};

}  // namespace tessaro
