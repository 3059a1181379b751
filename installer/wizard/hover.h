#pragma once
// Which image of each image button is visible as the pointer moves. A button
// is a stack of images (normal, highlighted, disabled); only the topmost
// visible one is seen and takes the pointer.
#include "seams/ui.h"

namespace tessaro {

enum class ButtonImage {
  // wizard
  Previous_Disabilitato,
  Previous,
  Previus_Blu,
  NextStep,
  Avanti_Blu,
  EndSetup,
  EndSetup_giallo,
  // quit dialog
  BackToSetup,
  BackToSetup_Blu,
};

class ButtonImages {
 public:
  virtual ~ButtonImages() = default;
  virtual void SetVisible(ButtonImage image, bool visible) = 0;
};

// Wizard: the pointer over the background (and the start of every page).
// During the installation (page 6 on) only Next's highlight goes and Cancel
// shows; no window messages run then.
void WizardPointerAtRest(ButtonImages& images, UserInterface& ui, int wizardStep);
void WizardPointerOnNext(ButtonImages& images);
void WizardPointerOnPrevious(ButtonImages& images);
void WizardPointerOnEndSetup(ButtonImages& images);

// Quit dialog.
void QuitPointerAtRest(ButtonImages& images);
void QuitPointerOnBack(ButtonImages& images);
void QuitPointerOnEndSetup(ButtonImages& images);

}  // namespace tessaro
