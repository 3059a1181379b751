#pragma once
// The wizard's start-up (FrmSetup's Form_Load): the window's outline, the
// engine's LoadPackage (safe-mode question, setup folder as current folder,
// package check, Setup.dip), then the name captions and the welcome page.
#include <string>

#include "installer_state.h"
#include "wizard/wizard_view.h"

namespace tessaro {

// Runs at program start and again whenever the wizard returns to its first
// page. Any run-time error stops it with the "#410#" box and leaves the wizard
// open with what was loaded before the error.
void FormLoad(InstallerContext& cx, WizardView& view);

// The application's name in capitals up to and including the blank before
// " v."; empty when the name has no " v.".
std::string AppNameCaption(Platform& platform, const std::string& appFullName);
std::string AppTitleCaption(Platform& platform, const std::string& appFullName);

// Replaces every "@" of the welcome text with the application's name: the text
// before the marker loses its outer blanks, one blank and the name follow,
// then the rest without its trailing blanks. The search goes on after the
// inserted name, so a name holding "@" is inserted once.
std::string ReplaceWelcomeMarkers(const std::string& text, const std::string& appFullName);

}  // namespace tessaro
