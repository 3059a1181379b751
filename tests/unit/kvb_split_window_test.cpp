// The backup program's start-up, window states, animation, closing and the
// list of window titles, against the fakes and a recording window.
#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "kvb_startup.h"
#include "kvb_view_fake.h"

namespace tessaro::kvb {
namespace {

using fakes::ProgramEnded;
using testing::RecordingView;

constexpr const char* kDataFile = "C:\\Contabilita\\Dati\\archivio.mdb";

struct KvbTest : ::testing::Test {
  KvbTest() {
    sys.files.AddFile(kDataFile, "dati della ditta");
    sys.files.AddFile("C:\\Contabilita\\Dati\\vuoto.mdb", "");
    sys.files.AddFile("C:\\Contabilita\\Dati\\nascosto.mdb", "x", attr::Hidden);
    sys.files.AddFile("C:\\Contabilita\\Dati\\sola.mdb", "x", attr::ReadOnly | attr::Archive);
  }
  // Loads the window and tells whether the program ended.
  bool Load(const std::string& dataFile, bool previousInstance = false) {
    try {
      LoadSplitForm(view, services, state, dataFile, previousInstance);
      return false;
    } catch (const ProgramEnded&) {
      return true;
    }
  }
  fakes::FakeSystem sys;
  Services services = sys.services();
  RecordingView view;
  SplitState state{7};
};

TEST(KvbCommandLine, ArgumentIsEverythingAfterTheProgramName) {
  EXPECT_EQ(ArgumentText("KVB.exe C:\\Dati\\a.mdb"), "C:\\Dati\\a.mdb");
  EXPECT_EQ(ArgumentText("\"C:\\Programmi\\Tessaro Backup\\KVB.exe\"  C:\\Dati\\a b.mdb"),
            "C:\\Dati\\a b.mdb");
  // Quotes around the argument stay: the application passes the bare path.
  EXPECT_EQ(ArgumentText("KVB \"C:\\Dati\\a.mdb\""), "\"C:\\Dati\\a.mdb\"");
  EXPECT_EQ(ArgumentText("C:\\KVB.EXE"), "");
  EXPECT_EQ(ArgumentText("\"C:\\KVB.EXE\""), "");
}

TEST_F(KvbTest, AnExistingNonEmptyFileOpensTheWindowOnTop) {
  EXPECT_FALSE(Load(kDataFile));
  EXPECT_TRUE(sys.ui.boxes.empty());
  EXPECT_EQ(view.position, std::make_pair(800, 800));
  EXPECT_TRUE(view.topMost);
  EXPECT_EQ(state.animFrame, 0);
  // A read-only file with the archive bit is an ordinary file too.
  EXPECT_FALSE(Load("C:\\Contabilita\\Dati\\sola.mdb"));
}

TEST_F(KvbTest, WithoutAUsableDataFileTheProgramBeepsRefusesAndEnds) {
  const std::vector<std::string> refused = {"",
                                            "C:\\Contabilita\\Dati\\manca.mdb",
                                            "C:\\Contabilita\\Dati\\vuoto.mdb",
                                            "C:\\Contabilita\\Dati",
                                            "C:\\Contabilita\\Dati\\nascosto.mdb",
                                            "C:\\Contabilita\\Dati\\*.mdb",
                                            std::string("\"") + kDataFile + "\""};
  for (const std::string& path : refused) {
    sys.ui.boxes.clear();
    sys.ui.beeps = 0;
    view.topMost = false;
    EXPECT_TRUE(Load(path)) << path;
    ASSERT_EQ(sys.ui.boxes.size(), 1u) << path;
    EXPECT_EQ(sys.ui.boxes[0].text, "Questo programma NON può essere eseguito autonomamente.");
    EXPECT_EQ(sys.ui.boxes[0].title, "Tessaro Backup");
    EXPECT_EQ(sys.ui.boxes[0].icon, MsgIcon::Critical);
    EXPECT_EQ(sys.ui.boxes[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(sys.ui.beeps, 1) << path;
    EXPECT_FALSE(view.topMost) << path;
  }
}

TEST_F(KvbTest, ASecondCopyIsRefusedWithoutABeep) {
  EXPECT_TRUE(Load(kDataFile, true));
  ASSERT_EQ(sys.ui.boxes.size(), 1u);
  EXPECT_EQ(sys.ui.boxes[0].text, "Attenzione rilevata un'altra sessione di installazione.");
  EXPECT_EQ(sys.ui.boxes[0].title, "Tessaro Backup");
  EXPECT_EQ(sys.ui.boxes[0].icon, MsgIcon::Critical);
  EXPECT_EQ(sys.ui.beeps, 0);
  EXPECT_FALSE(view.topMost);
}

TEST_F(KvbTest, BusyAndIdleSwitchButtonsCaptionTimerAndPointer) {
  EnterBusy(view, sys.ui);
  EXPECT_TRUE(view.timer);
  EXPECT_FALSE(view.buttons[SplitButton::MakeBackup]);
  EXPECT_FALSE(view.buttons[SplitButton::RestoreBackup]);
  EXPECT_EQ(view.closeCaption, "&Annulla");
  AnimationTick(view, state);
  AnimationTick(view, state);

  ReturnToIdle(view, sys.ui, state);
  EXPECT_FALSE(view.timer);
  EXPECT_TRUE(view.buttons[SplitButton::MakeBackup]);
  EXPECT_TRUE(view.buttons[SplitButton::RestoreBackup]);
  EXPECT_EQ(view.closeCaption, "&Chiudi");
  EXPECT_EQ(sys.ui.pointerHistory, (std::vector<bool>{true, false}));
  // The next operation's animation starts again at frame 1.
  AnimationTick(view, state);
  EXPECT_EQ(view.frames.back(), 1);
}

TEST_F(KvbTest, AnimationRunsThroughEighteenPositions) {
  state.animFrame = 0;
  for (int i = 0; i < 18; ++i) AnimationTick(view, state);
  EXPECT_EQ(view.frames,
            (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 0}));
  EXPECT_EQ(NextAnimFrame(-5), 0);  // a damaged counter starts again
}

TEST_F(KvbTest, ChiudiAsksAndEndsOnlyOnYes) {
  sys.ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
  ChiudiClick(view, services);
  EXPECT_THROW(ChiudiClick(view, services), ProgramEnded);
  ASSERT_EQ(sys.ui.boxes.size(), 2u);
  EXPECT_EQ(sys.ui.boxes[0].text, "Uscire adesso?");
  EXPECT_EQ(sys.ui.boxes[0].icon, MsgIcon::Question);
  EXPECT_EQ(sys.ui.boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(sys.ui.boxes[0].title, "Tessaro Backup");

  view.timer = true;
  sys.ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
  ChiudiClick(view, services);
  EXPECT_THROW(ChiudiClick(view, services), ProgramEnded);
  EXPECT_EQ(sys.ui.boxes[2].text, "Interrompere l'operazione in corso?");
  EXPECT_EQ(sys.ui.boxes[3].icon, MsgIcon::Question);
}

TEST_F(KvbTest, TheCloseBoxClosesOnYesAndStaysOnNo) {
  sys.ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
  EXPECT_FALSE(QueryClose(view, services));
  EXPECT_TRUE(QueryClose(view, services));
  EXPECT_EQ(sys.ui.boxes[1].text, "Uscire adesso?");

  view.timer = true;
  sys.ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
  EXPECT_FALSE(QueryClose(view, services));  // the operation goes on
  EXPECT_THROW(QueryClose(view, services), ProgramEnded);
  EXPECT_EQ(sys.ui.boxes[3].text, "Interrompere l'operazione in corso?");
}

TEST_F(KvbTest, WindowTitlesAreVisibleUnownedTitledTopWindowsUpToAHundred) {
  view.desktop = {{true, false, false, "Contabilità - [Archivio]"},
                  {false, false, false, "Nascosta"},
                  {true, true, false, "Figlia"},
                  {true, false, true, "Dialogo"},
                  {true, false, false, ""},
                  {true, false, false, "tessaro backup"}};
  EXPECT_EQ(ListWindowTitles(view),
            (std::vector<std::string>{"Contabilità - [Archivio]", "tessaro backup"}));

  std::vector<TopWindow> many(150, TopWindow{true, false, false, ""});
  for (size_t i = 0; i < many.size(); ++i) many[i].title = "W" + std::to_string(i);
  auto titles = CollectWindowTitles(many);
  ASSERT_EQ(titles.size(), 100u);
  EXPECT_EQ(titles.front(), "W0");
  EXPECT_EQ(titles.back(), "W99");
}

}  // namespace
}  // namespace tessaro::kvb
