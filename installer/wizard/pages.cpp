#include "wizard/pages.h"

#include <exception>

#include "engine/destination.h"
#include "services/special_folders.h"
#include "text.h"
#include "text_files.h"
#include "texts.h"
#include "wizard/startup.h"

namespace tessaro {

namespace {

using C = PageControl;
using B = ButtonImage;

constexpr int kWelcomeTop = 1290;
constexpr int kWelcomeTall = 3165;
constexpr int kWelcomeShort = 2640;  // leaves room for the licence options
constexpr int kPrgIcoTop = 2610;
constexpr const char* kCrLf = "\r\n";

// A failing statement of a page layout is skipped and the layout goes on.
// The program's end is no std::exception and passes through.
template <typename F>
void Quietly(F&& statement) {
  try {
    statement();
  } catch (const std::exception&) {
  }
}

void Hide(PagesView& v, std::initializer_list<C> controls) {
  for (C c : controls) v.Show(c, false);
}

void ShowWelcomePage(InstallerContext& cx, PagesView& v) {
  v.SetVisible(B::Previous_Disabilitato, true);
  v.SetVisible(B::NextStep, true);
  v.Show(C::Accettazione, false);
  v.SetChecked(C::Lic_Accetto, false);
  v.SetChecked(C::Lic_NonAccetto, true);
  Hide(v, {C::PrgGroup, C::SelPath, C::CopyPath, C::PrgIco, C::Browse});
  FormLoad(cx, v);  // refills Welcome and resets the package values
  v.SetTop(C::Welcome, kWelcomeTop);
  v.SetHeight(C::Welcome, kWelcomeTall);
  v.Show(C::Welcome, true);
}

void ShowLicencePage(InstallerContext& cx, PagesView& v) {
  v.Show(C::Accettazione, true);
  Hide(v, {C::PrgGroup, C::SelPath, C::CopyPath, C::PrgIco, C::Browse});
  // An unreadable licence leaves the page empty rather than showing the
  // welcome text under the licence options.
  std::string licence;
  Quietly([&] { licence = ReadTextFile(cx.sys.files, cx.sys.platform, "Licence.txt"); });
  v.SetText(C::Welcome, licence);
  v.SetTop(C::Welcome, kWelcomeTop);
  v.SetHeight(C::Welcome, kWelcomeShort);
  v.Show(C::Welcome, true);
}

void ShowDestinationPage(InstallerContext& cx, PagesView& v) {
  v.Show(C::Accettazione, false);
  v.SetText(C::ErroreSpazio, "");
  v.Show(C::ErroreSpazio, false);
  v.Show(C::PrgGroup, false);
  v.Show(C::SelPath, true);
  v.SetText(C::SelPath, texts::kChooseFolderCaption);
  v.Show(C::CopyPath, true);
  v.Show(C::PrgIco, false);
  v.SetText(C::CopyPath, TrimBlanks(cx.pkg().InstallPath));
  v.Show(C::Browse, true);
  v.SetTop(C::Welcome, kWelcomeTop);
  v.Show(C::Welcome, false);
}

// A destination refused by the check shows page 2 again, with `step` 2.
void ShowDrivePage(InstallerContext& cx, PagesView& v, int& step) {
  std::string& path = cx.pkg().InstallPath;
  path = v.Text(C::CopyPath);
  // Only the way forward from page 2 checks: back from page 4 CopyPath is hidden.
  bool refused = false;
  if (v.IsShown(C::CopyPath)) Quietly([&] { refused = ValidateDestination(cx, path); });
  if (refused) {
    step = 2;
    v.Focus(C::CopyPath);
    cx.sys.ui.SetBusyPointer(false);
    ShowDestinationPage(cx, v);
    return;
  }
  Hide(v, {C::DeskShort, C::PrgIco, C::PrgGroup});
  v.SetText(C::CopyPath, path);
  v.SetTop(C::ErroreSpazio, kWarningTopLow);
  v.SetText(C::ErroreSpazio, "");
  v.Show(C::ErroreSpazio, true);
  v.Show(C::Welcome, true);
  // Enabled before every check, so a drive that passes lets the user go on.
  v.SetNextEnabled(true);
  const std::string copyPath = v.Text(C::CopyPath);
  const std::string drive = copyPath.substr(0, 1) + ":\\";
  Quietly([&] { CheckDriveSpace(cx.sys.files, cx.sys.platform, drive, cx.pkg().PackageBytes, v); });
  v.SetHeight(C::Welcome, kWelcomeTall);
  Hide(v, {C::SelPath, C::CopyPath, C::PrgIco, C::Browse});
}

void ShowGroupPage(InstallerContext& cx, PagesView& v) {
  v.Show(C::DeskShort, true);
  v.SetTop(C::PrgIco, kPrgIcoTop);
  v.Show(C::PrgIco, true);
  v.SetText(C::ErroreSpazio, "");
  v.Show(C::ErroreSpazio, false);
  v.Show(C::PrgGroup, true);
  v.ClearGroups();
  for (int index = 1;; ++index) {
    std::string name;
    Quietly([&] { name = ProgramGroupName(cx.sys, index); });
    if (name.empty()) break;
    v.AddGroup(name);
  }
  v.SetText(C::PrgGroup, cx.pkg().ProgramGroup);
  v.Show(C::SelPath, true);
  v.SetText(C::SelPath, texts::kChooseGroupCaption);
  Hide(v, {C::CopyPath, C::Browse, C::Welcome});
}

// A group that would put the shortcuts outside the Programs folder keeps the
// group page as it is, with `step` 4 and the focus in the group.
void ShowSummaryPage(InstallerContext& cx, PagesView& v, int& step) {
  bool refused = true;
  Quietly([&] { refused = ValidateProgramGroup(cx, v.Text(C::PrgGroup)); });
  if (refused) {
    step = 4;
    v.Focus(C::PrgGroup);
    return;
  }
  Hide(v, {C::DeskShort, C::PrgIco});
  cx.pkg().ProgramGroup = v.Text(C::PrgGroup);  // as typed, without trimming
  Hide(v, {C::lblStatus0, C::lblStatus1, C::picStatus0, C::picStatus1, C::PrgGroup});
  v.Show(C::SelPath, true);
  Hide(v, {C::CopyPath, C::PrgIco, C::Browse});
  v.Show(C::Welcome, true);
  v.SetText(C::Welcome, SummaryText(v.Text(C::CopyPath), v.Text(C::PrgGroup)));
  v.SetText(C::SelPath, texts::kSummaryCaption);
}

void ShowInstallationPage(PagesView& v) {
  for (C c : {C::lblStatus0, C::lblStatus1, C::picStatus0, C::picStatus1}) v.Show(c, true);
  v.SetVisible(B::NextStep, false);
  v.SetVisible(B::Previous, false);
  Hide(v, {C::PrgGroup, C::SelPath, C::CopyPath, C::PrgIco, C::Browse, C::Welcome});
}

}  // namespace

std::string SummaryText(const std::string& path, const std::string& group) {
  std::string text =
      std::string(kCrLf) + texts::kSummaryPathHeading + kCrLf + texts::kSummaryIndent + path;
  text += std::string(kCrLf) + kCrLf + texts::kSummaryGroupHeading + kCrLf + texts::kSummaryIndent +
          group;
  return text;
}

void ShowStep(InstallerContext& cx, PagesView& view, int& step) {
  WizardPointerAtRest(view, cx.sys.ui, cx.state.WizardStep);
  if (step < 0 || step > 6) return;
  static const char* const kPageNames[] = {"benvenuto", "licenza", "destinazione", "unità",
                                           "gruppo di programmi", "riepilogo", "installazione"};
  Note(cx, "pagina " + std::to_string(step) + ": " + kPageNames[step]);
  cx.sys.ui.SetBusyPointer(true);
  switch (step) {
    case 0:
      ShowWelcomePage(cx, view);
      break;
    case 1:
      ShowLicencePage(cx, view);
      break;
    case 2:
      ShowDestinationPage(cx, view);
      break;
    case 3:
      ShowDrivePage(cx, view, step);
      break;
    case 4:
      ShowGroupPage(cx, view);
      break;
    case 5:
      ShowSummaryPage(cx, view, step);
      break;
    case 6:
      ShowInstallationPage(view);
      break;
  }
  cx.sys.ui.SetBusyPointer(false);
}

void NextStepClick(InstallerContext& cx, PagesView& view) {
  view.SetVisible(B::Previous_Disabilitato, false);
  view.SetVisible(B::Previous, true);
  int& step = cx.state.WizardStep;
  if (step == 1 && view.IsChecked(C::Lic_NonAccetto)) {
    cx.sys.ui.ShowMessage(texts::kLicenceNotAccepted, texts::kWizardCaption, MsgIcon::Critical,
                          MsgButtons::Ok);
    return;
  }
  ++step;
  ShowStep(cx, view, step);
  if (step < 6) return;
  view.SetVisible(B::Previous, false);
  view.SetVisible(B::Previous_Disabilitato, false);
  view.SetVisible(B::NextStep, false);
  cx.sys.ui.PumpMessages();  // paints the installation page first
  // A failed run leaves the wizard on page 6 with only the cancel button.
  Quietly([&] { view.StartInstallation(); });
}

void PreviousClick(InstallerContext& cx, PagesView& view) {
  int& step = cx.state.WizardStep;
  --step;
  ShowStep(cx, view, step);
  if (step > 0) {
    view.SetVisible(B::NextStep, true);
    // A drive page that refused its drive disabled Next; back on the
    // destination page the user may choose another folder and go on. The
    // drive page itself decides again when it is landed on.
    if (step == 2) view.SetNextEnabled(true);
  } else {
    view.SetVisible(B::Previous_Disabilitato, true);
  }
}

}  // namespace tessaro
