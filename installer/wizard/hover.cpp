#include "wizard/hover.h"

namespace tessaro {

using B = ButtonImage;

void WizardPointerAtRest(ButtonImages& images, UserInterface& ui, int wizardStep) {
  images.SetVisible(B::Avanti_Blu, false);
  if (wizardStep >= 6) {
    images.SetVisible(B::EndSetup, true);
    return;
  }
  ui.PumpMessages();
  images.SetVisible(B::NextStep, true);
  images.SetVisible(B::EndSetup, true);
  ui.PumpMessages();
  images.SetVisible(B::Previus_Blu, false);
  images.SetVisible(B::Previous, true);
}

void WizardPointerOnNext(ButtonImages& images) {
  images.SetVisible(B::NextStep, false);
  images.SetVisible(B::Avanti_Blu, true);
  images.SetVisible(B::Previus_Blu, false);
  images.SetVisible(B::Previous, true);
}

void WizardPointerOnPrevious(ButtonImages& images) {
  images.SetVisible(B::Previus_Blu, true);
  images.SetVisible(B::Previous, false);
  images.SetVisible(B::NextStep, true);
  images.SetVisible(B::Avanti_Blu, false);
}

void WizardPointerOnEndSetup(ButtonImages& images) {
  images.SetVisible(B::EndSetup_giallo, true);
  images.SetVisible(B::EndSetup, false);
}

void QuitPointerAtRest(ButtonImages& images) {
  images.SetVisible(B::EndSetup_giallo, false);
  images.SetVisible(B::EndSetup, true);
  images.SetVisible(B::BackToSetup_Blu, false);
  images.SetVisible(B::BackToSetup, true);
}

void QuitPointerOnBack(ButtonImages& images) {
  images.SetVisible(B::BackToSetup_Blu, true);
  images.SetVisible(B::BackToSetup, false);
  images.SetVisible(B::EndSetup_giallo, false);
  images.SetVisible(B::EndSetup, true);
}

void QuitPointerOnEndSetup(ButtonImages& images) {
  images.SetVisible(B::EndSetup_giallo, true);
  images.SetVisible(B::EndSetup, false);
  images.SetVisible(B::BackToSetup_Blu, false);
  images.SetVisible(B::BackToSetup, true);
}

}  // namespace tessaro
