#pragma once
// The wizard's pages: one form whose controls are shown, hidden, moved and
// refilled to make the pages 0 (welcome) to 6 (installation), driven by the
// page number WizardStep.
#include <string>

#include "installer_state.h"
#include "services/drive_info.h"
#include "wizard/hover.h"
#include "wizard/wizard_view.h"

namespace tessaro {

// The controls of FrmSetup that the pages lay out.
enum class PageControl {
  Welcome,
  Accettazione,  // frame holding the two licence options
  Lic_Accetto,
  Lic_NonAccetto,
  SelPath,
  CopyPath,
  Browse,
  ErroreSpazio,
  PrgGroup,
  PrgIco,
  DeskShort,
  lblStatus0,
  lblStatus1,
  picStatus0,
  picStatus1,
};

// What the pages do to the form. Positions and heights are in twips.
class PagesView : public WizardView, public DriveSpaceView, public ButtonImages {
 public:
  virtual void Show(PageControl control, bool visible) = 0;
  // The control's own Visible setting, whatever its parent's.
  virtual bool IsShown(PageControl control) = 0;
  virtual void SetText(PageControl control, const std::string& text) = 0;
  virtual std::string Text(PageControl control) = 0;
  virtual void SetTop(PageControl control, int twips) = 0;
  virtual void SetHeight(PageControl control, int twips) = 0;
  // Option buttons and check box.
  virtual void SetChecked(PageControl control, bool checked) = 0;
  virtual bool IsChecked(PageControl control) = 0;
  // The list of the PrgGroup combo box.
  virtual void ClearGroups() = 0;
  virtual void AddGroup(const std::string& name) = 0;
  virtual void Focus(PageControl control) = 0;
  // Hands over to the installation run; returns only if the run fails.
  virtual void StartInstallation() = 0;
};

// Lays out the page `step` (0 to 6; any other number changes nothing). Page 3
// checks the destination first when coming from page 2 and may send the user
// back to page 2, setting `step` to 2; page 5 checks the program group and
// may keep the user on page 4, setting `step` to 4.
void ShowStep(InstallerContext& cx, PagesView& view, int& step);

// Next: the licence must be accepted on page 1; page 6 starts the run.
void NextStepClick(InstallerContext& cx, PagesView& view);
// Back: one page back; page 0 reruns the start-up.
void PreviousClick(InstallerContext& cx, PagesView& view);

// The text of the summary page.
std::string SummaryText(const std::string& path, const std::string& group);

}  // namespace tessaro
