#pragma once
// What the wizard's logic sets on the FrmSetup window.
#include <string>

namespace tessaro {

class WizardView {
 public:
  virtual ~WizardView() = default;
  // Cuts the window to its outline (rebuilt on every load).
  virtual void ApplyOutline() = 0;
  virtual void SetAppName(const std::string& caption) = 0;   // label AppName
  virtual void SetAppTitle(const std::string& caption) = 0;  // label Apptitle
  virtual void SetWelcome(const std::string& text) = 0;      // text box Welcome
};

}  // namespace tessaro
