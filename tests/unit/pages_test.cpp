#include "wizard/pages.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "package_fixture.h"
#include "services/special_folders.h"
#include "texts.h"
#include "wizard/startup.h"

namespace tessaro {
namespace {

using C = PageControl;
using B = ButtonImage;

// The form as the pages leave it, starting from its design: only Welcome
// shown, "Non accetto" selected, the desktop shortcut checked.
struct FakePages : PagesView {
  struct Control {
    bool shown = false;
    std::string text;
    int top = -1, height = -1;
    bool checked = false;
  };
  std::map<C, Control> c;
  std::map<B, bool> images;
  std::vector<std::string> groups;
  bool nextEnabled = true;
  C focus = C::Welcome;
  int runs = 0;
  bool runFails = false;

  FakePages() {
    c[C::Welcome].shown = true;
    c[C::Lic_NonAccetto].checked = true;
    c[C::DeskShort].checked = true;
    images[B::NextStep] = images[B::Previous_Disabilitato] = true;
  }
  void ApplyOutline() override {}
  void SetAppName(const std::string&) override {}
  void SetAppTitle(const std::string&) override {}
  void SetWelcome(const std::string& t) override { c[C::Welcome].text = t; }
  void SetReport(const std::string& t) override { c[C::Welcome].text = t; }
  void HideReport() override { c[C::Welcome].shown = false; }
  void SetWarning(int top, const std::string& t) override {
    c[C::ErroreSpazio].top = top;
    c[C::ErroreSpazio].text = t;
  }
  void SetNextEnabled(bool on) override { nextEnabled = on; }
  void SetVisible(ButtonImage image, bool visible) override { images[image] = visible; }
  void Show(C id, bool visible) override { c[id].shown = visible; }
  bool IsShown(C id) override { return c[id].shown; }
  void SetText(C id, const std::string& t) override { c[id].text = t; }
  std::string Text(C id) override { return c[id].text; }
  void SetTop(C id, int twips) override { c[id].top = twips; }
  void SetHeight(C id, int twips) override { c[id].height = twips; }
  void SetChecked(C id, bool on) override { c[id].checked = on; }
  bool IsChecked(C id) override { return c[id].checked; }
  void ClearGroups() override { groups.clear(); }
  void AddGroup(const std::string& name) override { groups.push_back(name); }
  void Focus(C id) override { focus = id; }
  void StartInstallation() override {
    ++runs;
    if (runFails) throw std::runtime_error("run failed");
  }
};

struct Wizard : ::testing::Test {
  testing::PackageMachine m;
  FakePages v;

  Wizard() {
    m.sys.files.WriteAll("C:\\Setup\\Licence.txt", "Licenza d'uso\r\nCitt\xE0");
    m.sys.files.drives['C'] = {3, DiskSpace{1000000, 500000, 500000}, VolumeFacts{"DATI", "NTFS"}};
    m.sys.files.drives['D'] = {3, DiskSpace{1000000, 1000, 1000}, VolumeFacts{"PIENO", "FAT"}};
    m.sys.files.AddFolder("C:\\Programmi");
    m.sys.files.AddFolder("D:\\");
    m.sys.shell.folders[csidl::Programs] = "C:\\Menu\\Programmi";
    m.sys.files.AddFolder("C:\\Menu\\Programmi\\Accessori");
    m.sys.files.AddFolder("C:\\Menu\\Programmi\\Giochi");
    m.sys.files.AddFile("C:\\Menu\\Programmi\\leggimi.txt", "x");
    FormLoad(m.cx, v);
  }
  int Step() { return m.state.WizardStep; }
  void Next() { NextStepClick(m.cx, v); }
  void Back() { PreviousClick(m.cx, v); }
  size_t Boxes() { return m.sys.ui.boxes.size(); }
  // Accepts the licence and, on page 2, types the destination if one is given.
  void ToDestination(const std::string& typed = {}) {
    Next();
    v.SetChecked(C::Lic_Accetto, true);
    v.SetChecked(C::Lic_NonAccetto, false);
    Next();
    ASSERT_EQ(Step(), 2);
    if (!typed.empty()) v.SetText(C::CopyPath, typed);
  }
};

TEST_F(Wizard, LicenceMustBeAcceptedAndIsAskedAgainAfterTheWelcomePage) {
  Next();
  ASSERT_EQ(Step(), 1);
  EXPECT_TRUE(v.c[C::Accettazione].shown);
  EXPECT_EQ(v.c[C::Welcome].text, "Licenza d'uso\r\nCittà");
  EXPECT_EQ(v.c[C::Welcome].height, 2640);
  EXPECT_TRUE(v.images[B::Previous]);
  EXPECT_FALSE(v.images[B::Previous_Disabilitato]);

  Next();  // "Non accetto" is the design's choice
  EXPECT_EQ(Step(), 1);
  ASSERT_EQ(Boxes(), 1u);
  const auto& box = m.sys.ui.boxes[0];
  EXPECT_EQ(box.text, "Per procedere OCCORRE accettare la LICENZA D'USO.");
  EXPECT_EQ(box.title, "Tessaro Installer");
  EXPECT_EQ(box.icon, MsgIcon::Critical);
  EXPECT_EQ(box.buttons, MsgButtons::Ok);

  v.SetChecked(C::Lic_Accetto, true);
  v.SetChecked(C::Lic_NonAccetto, false);
  Next();
  EXPECT_EQ(Step(), 2);
  Back();  // the answer is kept on the way back to page 1
  EXPECT_EQ(Step(), 1);
  EXPECT_TRUE(v.c[C::Lic_Accetto].checked);

  m.state.package.InstallPath = "D:\\Altrove";
  Back();  // page 0 reruns the start-up and resets the answer
  EXPECT_EQ(Step(), 0);
  EXPECT_FALSE(v.c[C::Accettazione].shown);
  EXPECT_FALSE(v.c[C::Lic_Accetto].checked);
  EXPECT_TRUE(v.c[C::Lic_NonAccetto].checked);
  EXPECT_EQ(m.state.package.InstallPath, "C:\\Programmi\\Archivio");
  EXPECT_EQ(v.c[C::Welcome].text, "Benvenuti in Archivio Clienti v.2.0 !");
  EXPECT_EQ(v.c[C::Welcome].height, 3165);
  EXPECT_TRUE(v.images[B::Previous_Disabilitato]);
  Next();
  Next();
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(Boxes(), 2u);
}

TEST_F(Wizard, UnreadableLicenceLeavesThePageEmpty) {
  m.sys.files.Delete("C:\\Setup\\Licence.txt");
  Next();
  EXPECT_EQ(Step(), 1);
  EXPECT_EQ(v.c[C::Welcome].text, "");
  EXPECT_TRUE(m.sys.ui.boxes.empty());
}

TEST_F(Wizard, DestinationIsTakenOverCheckedAndShownTrimmed) {
  ToDestination();
  EXPECT_EQ(v.c[C::CopyPath].text, "C:\\Programmi\\Archivio");
  EXPECT_TRUE(v.c[C::CopyPath].shown && v.c[C::Browse].shown && v.c[C::SelPath].shown);
  EXPECT_FALSE(v.c[C::Welcome].shown);
  EXPECT_EQ(v.c[C::SelPath].text, texts::kChooseFolderCaption);

  v.SetText(C::CopyPath, "  C:\\Nuova\\Sotto\\  ");
  m.sys.ui.answers = {MsgAnswer::Yes};
  Next();
  ASSERT_EQ(Step(), 3);
  ASSERT_EQ(Boxes(), 1u);
  EXPECT_EQ(m.sys.ui.boxes[0].text, "Il percorso non esiste: si desidera crearlo?");
  EXPECT_TRUE(m.sys.files.Exists("C:\\Nuova\\Sotto"));
  EXPECT_EQ(m.state.package.InstallPath, "C:\\Nuova\\Sotto");
  EXPECT_TRUE(v.c[C::Welcome].shown);
  EXPECT_NE(v.c[C::Welcome].text.find("C:\\ Informazioni sull'unità "), std::string::npos);
  EXPECT_TRUE(v.c[C::ErroreSpazio].shown);
  EXPECT_EQ(v.c[C::ErroreSpazio].top, 2500);
  EXPECT_FALSE(v.c[C::CopyPath].shown);
  EXPECT_TRUE(v.nextEnabled);

  Back();
  EXPECT_EQ(Step(), 2);
  EXPECT_EQ(v.c[C::CopyPath].text, "C:\\Nuova\\Sotto");
  EXPECT_FALSE(v.c[C::ErroreSpazio].shown);

  // A refused path keeps page 2, with the focus in the path.
  v.SetText(C::CopyPath, " \\\\server\\dati ");
  Next();
  EXPECT_EQ(Step(), 2);
  EXPECT_EQ(m.sys.ui.boxes.back().text, "Unità di destinazione ERRATA o MANCANTE.");
  EXPECT_EQ(v.focus, C::CopyPath);
  EXPECT_TRUE(v.c[C::CopyPath].shown);
  EXPECT_EQ(v.c[C::CopyPath].text, "\\\\server\\dati");
  EXPECT_FALSE(v.c[C::Welcome].shown);
  EXPECT_FALSE(m.sys.ui.pointerHistory.back());
}

TEST_F(Wizard, FullDriveStopsNextUntilAnotherDriveIsChosen) {
  ToDestination("D:\\");
  Next();
  ASSERT_EQ(Step(), 3);
  EXPECT_FALSE(v.nextEnabled);
  EXPECT_EQ(v.c[C::ErroreSpazio].text, texts::kSpaceShort);

  Back();
  EXPECT_TRUE(v.nextEnabled);  // page 2 must let the user try another folder
  v.SetText(C::CopyPath, "C:\\Programmi");
  m.sys.ui.answers = {MsgAnswer::Yes};  // the folder holds files: go on
  Next();
  ASSERT_EQ(Step(), 3);
  EXPECT_TRUE(v.nextEnabled);
  EXPECT_EQ(v.c[C::ErroreSpazio].text, "");

  // From page 4 back to 3: the report again, no destination questions.
  Next();
  ASSERT_EQ(Step(), 4);
  size_t boxes = Boxes();
  Back();
  EXPECT_EQ(Step(), 3);
  EXPECT_EQ(Boxes(), boxes);
  EXPECT_TRUE(v.c[C::Welcome].shown);
  EXPECT_NE(v.c[C::Welcome].text.find("C:\\ Informazioni"), std::string::npos);
  EXPECT_FALSE(v.c[C::DeskShort].shown || v.c[C::PrgGroup].shown || v.c[C::PrgIco].shown);

  // The drive filled up meanwhile: back on page 3, Next stays off.
  Next();
  m.sys.files.drives['C'].space = DiskSpace{1000000, 1000, 1000};
  Back();
  ASSERT_EQ(Step(), 3);
  EXPECT_FALSE(v.nextEnabled);
}

TEST_F(Wizard, GroupPageListsTheGroupsAndTheSummaryTakesTheGroupAsTyped) {
  ToDestination("C:\\Programmi\\Archivio");
  m.sys.ui.answers = {MsgAnswer::Yes};
  Next();
  Next();
  ASSERT_EQ(Step(), 4);
  EXPECT_EQ(v.groups, (std::vector<std::string>{"Accessori", "Giochi"}));
  EXPECT_EQ(v.c[C::PrgGroup].text, "Archivio Clienti");
  EXPECT_TRUE(v.c[C::DeskShort].shown && v.c[C::PrgIco].shown && v.c[C::PrgGroup].shown);
  EXPECT_EQ(v.c[C::PrgIco].top, 2610);
  EXPECT_EQ(v.c[C::SelPath].text, texts::kChooseGroupCaption);
  EXPECT_FALSE(v.c[C::Welcome].shown || v.c[C::ErroreSpazio].shown);

  // A group outside the Programs folder keeps the group page as typed.
  v.SetText(C::PrgGroup, "..\\..\\Esecuzione automatica");
  Next();
  EXPECT_EQ(Step(), 4);
  EXPECT_EQ(m.sys.ui.boxes.back().text, texts::kBadProgramGroup);
  EXPECT_EQ(v.focus, C::PrgGroup);
  EXPECT_TRUE(v.c[C::PrgGroup].shown && v.c[C::DeskShort].shown);
  EXPECT_EQ(v.c[C::PrgGroup].text, "..\\..\\Esecuzione automatica");
  EXPECT_EQ(m.state.package.ProgramGroup, "Archivio Clienti");

  v.SetText(C::PrgGroup, "");
  Next();
  ASSERT_EQ(Step(), 5);
  EXPECT_EQ(m.state.package.ProgramGroup, "");
  EXPECT_EQ(v.c[C::Welcome].text,
            "\r\n  Percorso di installazione:\r\n     C:\\Programmi\\Archivio\r\n\r\n"
            "  Gruppo di programmi:\r\n     ");
  EXPECT_EQ(v.c[C::SelPath].text, texts::kSummaryCaption);
  EXPECT_FALSE(v.c[C::DeskShort].shown || v.c[C::PrgGroup].shown);

  v.groups = {"vecchio"};
  Back();  // the list is refilled, the text kept
  EXPECT_EQ(v.groups, (std::vector<std::string>{"Accessori", "Giochi"}));
  EXPECT_EQ(v.c[C::PrgGroup].text, "");
}

TEST_F(Wizard, WithoutProgramGroupsTheListIsEmptyAndHoldsTheDefault) {
  m.sys.shell.folders.erase(csidl::Programs);
  int step = m.state.WizardStep = 4;
  ShowStep(m.cx, v, step);
  EXPECT_TRUE(v.groups.empty());
  EXPECT_EQ(v.c[C::PrgGroup].text, "Archivio Clienti");
}

TEST_F(Wizard, LastPageStartsTheRunOnceAndSurvivesItsFailure) {
  m.state.WizardStep = 5;
  v.runFails = true;
  Next();
  EXPECT_EQ(Step(), 6);
  EXPECT_EQ(v.runs, 1);
  for (C id : {C::lblStatus0, C::lblStatus1, C::picStatus0, C::picStatus1})
    EXPECT_TRUE(v.c[id].shown);
  EXPECT_FALSE(v.c[C::Welcome].shown);
  EXPECT_FALSE(v.images[B::NextStep] || v.images[B::Previous] ||
               v.images[B::Previous_Disabilitato]);
  EXPECT_TRUE(v.images[B::EndSetup]);
}

TEST(SummaryText, ListsPathAndGroupLineByLine) {
  EXPECT_EQ(SummaryText("C:\\Programmi\\Archivio", "Archivio"),
            "\r\n  Percorso di installazione:\r\n     C:\\Programmi\\Archivio\r\n\r\n"
            "  Gruppo di programmi:\r\n     Archivio");
}

}  // namespace
}  // namespace tessaro
