// The backup program's copy with progress and the emptying of a floppy.
#include <gtest/gtest.h>

#include "copy_progress.h"
#include "fakes/fakes.h"
#include "kvb_view_fake.h"

namespace tessaro::kvb {
namespace {

using fakes::ProgramEnded;
using testing::RecordingView;

struct KvbCopyTest : ::testing::Test {
  KvbCopyTest() {
    sys.platform.locale[0x0F] = ".";  // an Italian user
    sys.files.AddFolder("A:\\");
  }
  bool Copy(const std::string& from, const std::string& to) {
    return CopyWithProgress(view, services, counters, from, to);
  }
  fakes::FakeSystem sys;
  Services services = sys.services();
  RecordingView view;
  ByteCounters counters;
};

TEST(KvbPercent, RoundsHalvesToEvenAndCopesWithLargeAndZeroTotals) {
  EXPECT_EQ(RoundedPercent(1, 8), 12);  // 12.5
  EXPECT_EQ(RoundedPercent(3, 8), 38);  // 37.5
  EXPECT_EQ(RoundedPercent(2, 3), 67);
  EXPECT_EQ(RoundedPercent(30'000'000, 60'000'000), 50);  // past 32-bit range times 100
  EXPECT_EQ(RoundedPercent(10, 0), 0);
}

TEST_F(KvbCopyTest, BarsAndCounterMoveBeforeEachBlockIsWritten) {
  sys.files.AddFile("C:\\Dati\\a.mdb", std::string(64000, 'a'));
  counters.TotalBytes = 128000;
  // Each bar lets pending messages run: note how much of the target exists then.
  std::vector<size_t> writtenAtPump;
  sys.ui.onPump = [&] { writtenAtPump.push_back(sys.files.Content("A:\\a.001").size()); };

  EXPECT_TRUE(Copy("C:\\Dati\\a.mdb", "A:\\a.001"));
  EXPECT_EQ(sys.files.Content("A:\\a.001"), std::string(64000, 'a'));
  EXPECT_EQ(writtenAtPump, (std::vector<size_t>{0, 0, 32000, 32000}));
  EXPECT_EQ(view.statusTexts,
            (std::vector<std::string>{"Bytes copiati: 32.000", "Bytes copiati: 64.000"}));
  EXPECT_EQ(view.bars[0].tags, (std::vector<std::string>{"50", "100"}));
  EXPECT_EQ(view.bars[1].tags, (std::vector<std::string>{"25", "50"}));
  EXPECT_EQ(counters.CopiedBytes, 64000);

  // One more byte is a third, last update; the total may overshoot.
  sys.files.AddFile("C:\\Dati\\b.mdb", std::string(64001, 'b'));
  view = RecordingView{};
  counters = ByteCounters{0, 60000};
  EXPECT_TRUE(Copy("C:\\Dati\\b.mdb", "A:\\b.001"));
  EXPECT_EQ(view.statusTexts.back(), "Bytes copiati: 64.001");
  EXPECT_EQ(view.bars[0].tags, (std::vector<std::string>{"50", "100", "100"}));
  EXPECT_EQ(view.bars[1].tags.back(), "99");  // DrawProgress's own answer to more than all
}

TEST_F(KvbCopyTest, EmptyAndShorterSourcesLeaveExactCopies) {
  sys.files.AddFile("C:\\Dati\\vuoto.mdb", "");
  sys.files.AddFile("A:\\vuoto.001", "vecchio contenuto");
  EXPECT_TRUE(Copy("C:\\Dati\\vuoto.mdb", "A:\\vuoto.001"));
  EXPECT_EQ(sys.files.Content("A:\\vuoto.001"), "");
  EXPECT_TRUE(view.statusTexts.empty());
  EXPECT_TRUE(view.bars[0].tags.empty());

  sys.files.AddFile("C:\\Dati\\corto.mdb", "corto");
  sys.files.AddFile("A:\\corto.001", std::string(100000, 'x'));
  EXPECT_TRUE(Copy("C:\\Dati\\corto.mdb", "A:\\corto.001"));
  EXPECT_EQ(sys.files.Content("A:\\corto.001"), "corto");
  EXPECT_TRUE(sys.ui.boxes.empty());
}

TEST_F(KvbCopyTest, FailuresShowTheSystemsDescriptionOnce) {
  EXPECT_FALSE(Copy("C:\\Dati\\manca.mdb", "A:\\manca.001"));
  ASSERT_EQ(sys.ui.boxes.size(), 1u);
  EXPECT_EQ(sys.ui.boxes[0].text, "Impossibile trovare il file specificato.");
  EXPECT_EQ(sys.ui.boxes[0].title, "Tessaro Backup");
  EXPECT_EQ(sys.ui.boxes[0].icon, MsgIcon::Critical);

  sys.files.AddFile("C:\\Dati\\a.mdb", "dati");
  sys.files.AddFile("A:\\a.001", "occupato");
  sys.files.Lock("A:\\a.001");
  EXPECT_FALSE(Copy("C:\\Dati\\a.mdb", "A:\\a.001"));
  ASSERT_EQ(sys.ui.boxes.size(), 2u);
  EXPECT_EQ(sys.ui.boxes[1].text,
            "Impossibile accedere al file. Il file è utilizzato da un altro processo.");

  // Internet Explorer's libraries in use fail without a word.
  sys.files.AddFile("C:\\Windows\\URLMON.DLL", "lib");
  sys.files.Lock("C:\\Windows\\URLMON.DLL");
  EXPECT_FALSE(Copy("C:\\Windows\\URLMON.DLL", "A:\\u.001"));
  EXPECT_EQ(sys.ui.boxes.size(), 2u);
}

TEST_F(KvbCopyTest, AnAbortConfirmedDuringTheCopyEndsTheProgramThere) {
  sys.files.AddFile("C:\\Dati\\a.mdb", std::string(100000, 'a'));
  counters.TotalBytes = 100000;
  view.timer = true;  // an operation is under way
  int pumps = 0;
  sys.ui.answers = {MsgAnswer::No, MsgAnswer::Yes};
  // The user presses Annulla twice: No at the second pump, Yes at the fifth.
  sys.ui.onPump = [&] {
    ++pumps;
    if (pumps == 2 || pumps == 5) ChiudiClick(view, services);
  };
  EXPECT_THROW(Copy("C:\\Dati\\a.mdb", "A:\\a.001"), ProgramEnded);
  EXPECT_EQ(pumps, 5);
  EXPECT_EQ(sys.ui.boxes.size(), 2u);
  EXPECT_EQ(sys.files.Content("A:\\a.001").size(), 64000u);  // the third block never came
}

TEST_F(KvbCopyTest, TheReadBackMovesTheBarAndLetsAnAbortRun) {
  sys.files.AddFile("C:\\Dati\\a.001", std::string(64000, 'a'));
  counters.TotalBytes = 64000;
  // Pumps once the copy is whole are the read-back's.
  int readBackPumps = 0;
  sys.ui.onPump = [&] { readBackPumps += sys.files.Content("A:\\a.001").size() == 64000; };
  EXPECT_TRUE(CopyToFloppy(view, services, counters, "C:\\Dati\\a.001", "A:\\a.001"));
  EXPECT_EQ(readBackPumps, 4);  // both bars, before each of the two blocks
  EXPECT_EQ(view.bars[0].tags, (std::vector<std::string>{"50", "100", "50", "100"}));
  EXPECT_EQ(counters.CopiedBytes, 64000);  // what is read back is not counted as copied

  // Annulla in the middle of the read-back, answered Yes, ends the program there.
  view.timer = true;
  sys.ui.onPump = [&] {
    if (sys.files.Content("A:\\a.001").size() == 64000) ChiudiClick(view, services);
  };
  EXPECT_THROW(CopyToFloppy(view, services, counters, "C:\\Dati\\a.001", "A:\\a.001"),
               ProgramEnded);
}

TEST_F(KvbCopyTest, ClearDirEmptiesAFloppyRootWhateverItHolds) {
  sys.files.AddFile("A:\\a.001", "x");
  sys.files.AddFile("A:\\sola lettura.txt", "x", attr::ReadOnly);
  sys.files.AddFile("A:\\nascosto.sys", "x", attr::Hidden | attr::System);
  sys.files.AddFile("A:\\Vecchio\\Sotto\\b.txt", "x", attr::ReadOnly);
  sys.files.AddFolder("A:\\Vuota");
  ClearDir(services, "A:");
  EXPECT_TRUE(sys.files.Names("A:\\").empty());

  // A folder that cannot be removed is left behind, once; the rest goes.
  sys.files.AddFile("A:\\Bloccata\\aperto.mdb", "x");
  sys.files.Lock("A:\\Bloccata\\aperto.mdb");
  sys.files.AddFile("A:\\Z\\z.txt", "x");
  sys.files.AddFile("A:\\c.002", "x");
  ClearDir(services, "A:\\");
  EXPECT_EQ(sys.files.Names("A:\\"), (std::vector<std::string>{"Bloccata"}));
  EXPECT_EQ(sys.files.Names("A:\\Bloccata"), (std::vector<std::string>{"aperto.mdb"}));

  // A junction on the floppy is never entered: what it leads to stays, and
  // the junction goes as itself.
  sys.files.AddFile("C:\\Altrove\\archivio.mdb", "dati altrove", attr::ReadOnly);
  sys.files.AddLink("A:\\Collegamento", "C:\\Altrove");
  ClearDir(services, "A:\\");
  EXPECT_EQ(sys.files.Content("C:\\Altrove\\archivio.mdb"), "dati altrove");
  EXPECT_EQ(sys.files.Names("A:\\"), (std::vector<std::string>{"Bloccata"}));

  ClearDir(services, "");  // nothing to clear, nothing touched
  EXPECT_TRUE(sys.files.Exists("A:\\Bloccata\\aperto.mdb"));
}

}  // namespace
}  // namespace tessaro::kvb
