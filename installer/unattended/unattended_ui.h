#pragma once
// The user interface of a run that may have nobody in front of it. Every box
// of the installer goes through here: it is written to the transcript with
// the answer, and in a silent run it is never shown. Each question states
// its silent answer where it is asked (UserInterface::Ask), so no path can
// wait for a person, and no answer hangs on a box's wording.
#include <string>

#include "seams/ui.h"
#include "unattended/transcript.h"

namespace tessaro {

class UnattendedUi : public UserInterface {
 public:
  // `person` shows boxes and the pointer; `transcript` may be null.
  UnattendedUi(UserInterface& person, Transcript* transcript, bool silent)
      : person_(person), transcript_(transcript), silent_(silent) {}
  // Silent, a box with only OK gets OK; any other box that came without its
  // silent answer gets the button that goes no further (Cancel, No, Abort),
  // never a retry. The installer asks no question that way (a unit test
  // sees to it).
  MsgAnswer ShowMessage(const std::string& text, const std::string& title, MsgIcon icon,
                        MsgButtons buttons) override;
  // Silent, the stated answer.
  MsgAnswer Ask(const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons,
                MsgAnswer unattended) override;
  void Beep() override {
    if (!silent_) person_.Beep();
  }
  void SetBusyPointer(bool busy) override { person_.SetBusyPointer(busy); }
  void SetWorkingPointer(bool working) override { person_.SetWorkingPointer(working); }
  void PumpMessages() override { person_.PumpMessages(); }
  void PumpMessagesPaced() override { person_.PumpMessagesPaced(); }

 private:
  // Writes the box and its answer to the transcript.
  MsgAnswer Record(const std::string& text, const std::string& title, MsgAnswer answer);
  UserInterface& person_;
  Transcript* transcript_;
  bool silent_;
};

}  // namespace tessaro
