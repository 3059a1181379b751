#pragma once
// Keys for the forms. The forms are plain windows, not dialogs, so Windows
// moves no focus and presses no button for them: a form that wants keys
// registers a handler on its top-level window, and every message loop of the
// program (the main one, a modal form's, the pumps inside a long routine)
// offers each key message to the form it is meant for before dispatching it.
#include <windows.h>

namespace tessaro {

class FormKeys {
 public:
  virtual ~FormKeys() = default;
  // True when the form has handled the message: it is not dispatched.
  virtual bool OnKey(const MSG& msg) = 0;
};

// Registers `keys` for `form` (null removes it); it must outlive the window.
void SetFormKeys(HWND form, FormKeys* keys);
// Offers a key message to the form of its window; true when handled.
bool OfferKeyToForm(const MSG& msg);
// One message of a loop: offered to its form, else translated and dispatched.
void DispatchFormMessage(MSG& msg);

}  // namespace tessaro
