#include "engine/install_file.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "engine/deferred_replacement.h"
#include "engine/file_times.h"
#include "fakes/fakes.h"
#include "fakes/tag_canvas.h"
#include "services/file_version.h"

namespace tessaro {
namespace {

constexpr uint64_t kSecond = 10'000'000;
constexpr uint64_t k1998 = 125'574'951'000'000'000;  // 07/12/1998 09:05:00 UTC

using fakes::TagCanvas;

struct RecordingView : CopyView {
  void SetStatusText(int index, const std::string& text) override { labels[index].push_back(text); }
  ProgressCanvas& Bar(int index) override { return bars[index]; }
  std::vector<std::string> labels[2];
  TagCanvas bars[2];
};

struct InstallFileTest : ::testing::Test {
  fakes::FakeSystem sys;
  InstallerState state;
  InstallerContext cx{sys.services(), state};
  RecordingView view;
  bool existed = false;
  const FileTimes installerTimes{k1998 - 100 * kSecond, k1998 - 10 * kSecond, k1998};

  InstallFileTest() {
    state.package.AppShortName = "Magazzino";
    state.package.PackageBytes = 100000;
    sys.platform.locale[0x0F] = ".";
    sys.platform.locale[0x1D] = "/";
    sys.processes.program = [](const std::string&) { return true; };
    sys.files.AddFile(sys.platform.programPath, "MZ");
    sys.files.SetTimes(sys.platform.programPath, installerTimes);
    sys.files.SetCurrentFolder("C:\\Setup");
  }
  bool Install(const std::string& name, const std::string& folder, bool mayReplace = true) {
    return InstallFile(cx, view, "files\\" + name, folder + "\\" + name, mayReplace, existed);
  }
  void Versioned(const std::string& path, const std::string& version) {
    std::map<std::string, std::string> strings;
    for (const char* name : kVersionInfoNames) strings[name] = "x";
    strings["FileVersion"] = version;
    sys.files.SetVersionStrings(path, strings);
  }
  void Written(const std::string& path, uint64_t time) { sys.files.SetTimes(path, {0, 0, time}); }
};

TEST_F(InstallFileTest, ExistingFilesAreKeptOrReplacedByFlagVersionAndDate) {
  const std::string dest = "C:\\App\\", src = "C:\\Setup\\files\\";
  struct Case {
    std::string name;
    bool mayReplace;
    std::string sourceVersion, destVersion;  // none when empty
    uint64_t sourceTime, destTime;
    bool result, replaced;
  };
  // clang-format off
  const Case cases[] = {
      {"keep.txt",        false, "",     "",            0,                 0,                  true,  false},
      {"lower.dll",       true,  "4.70", "4.71.1712.5", 0,                 0,                  false, false},
      {"equal.ocx",       true,  "4.71", "4.71.1",      0,                 0,                  true,  true},
      {"unversioned.exe", true,  "1.0",  "",            0,                 0,                  true,  true},
      {"older.mdb",       true,  "",     "",            k1998 - kSecond,   k1998,              false, false},
      // Times compare to the whole second.
      {"same.mdb",        true,  "",     "",            k1998,             k1998 + kSecond / 2, true, true},
      {"newer.mdb",       true,  "",     "",            k1998 + kSecond,   k1998,              true,  true},
      {"older.txt",       true,  "",     "",            0,                 k1998,              true,  true},
  };
  // clang-format on
  for (const Case& c : cases) {
    sys.files.AddFile(dest + c.name, "old");
    sys.files.AddFile(src + c.name, "new");
    if (!c.sourceVersion.empty()) Versioned(src + c.name, c.sourceVersion);
    if (!c.destVersion.empty()) Versioned(dest + c.name, c.destVersion);
    Written(src + c.name, c.sourceTime);
    Written(dest + c.name, c.destTime);
    EXPECT_EQ(Install(c.name, "C:\\App", c.mayReplace), c.result) << c.name;
    EXPECT_TRUE(existed) << c.name;
    EXPECT_EQ(sys.files.Content(dest + c.name), c.replaced ? "new" : "old") << c.name;
  }
  // Only the five replaced files were copied, one block each.
  EXPECT_EQ(state.BytesCopied, 5 * 3);
  EXPECT_EQ(view.bars[0].tags.size(), 5u);

  // A folder of the file's name is never replaced.
  sys.files.AddFolder(dest + "cartella.txt");
  sys.files.AddFile(src + "cartella.txt", "new");
  EXPECT_FALSE(Install("cartella.txt", "C:\\App"));
  EXPECT_TRUE(existed);
  EXPECT_TRUE(sys.files.GetAttributes(dest + "cartella.txt").value_or(0) & attr::Directory);

  // A file that appeared after the run looked is not opened over, stamped or
  // announced as created; a new file that cannot be announced is not kept.
  sys.files.AddFile(dest + "comparso.txt", "user", attr::Hidden);
  sys.files.AddFile(src + "comparso.txt", "new");
  std::vector<std::string> announced;
  KnownFacts missing;
  missing.created = [&](const std::string& path) {
    announced.push_back(path);
    return path.find("comparso") != std::string::npos;
  };
  EXPECT_FALSE(
      InstallFile(cx, view, "files\\comparso.txt", dest + "comparso.txt", true, existed, missing));
  EXPECT_EQ(sys.files.Content(dest + "comparso.txt"), "user");
  EXPECT_EQ(sys.files.GetAttributes(dest + "comparso.txt"), attr::Hidden);
  EXPECT_FALSE(
      InstallFile(cx, view, "files\\keep.txt", dest + "nuovo.txt", true, existed, missing));
  EXPECT_FALSE(sys.files.Exists(dest + "nuovo.txt"));
  EXPECT_EQ(announced, std::vector<std::string>{dest + "nuovo.txt"});
}

TEST_F(InstallFileTest, BlocksLabelsAndBarsFollowTheBytes) {
  sys.files.AddFile("C:\\Setup\\files\\Vuoto.txt", "");
  sys.files.AddFile("C:\\Setup\\files\\MAGAZZINO.MDE", std::string(64000, 'm'));
  sys.files.AddFile("C:\\Setup\\files\\MSACCESS.EXE", std::string(32001, 'a'));
  // BytesCopied moves before each block is written.
  std::vector<std::pair<double, size_t>> atDraw;
  sys.ui.onPump = [&] {
    atDraw.emplace_back(state.BytesCopied, sys.files.Content("C:\\App\\MAGAZZINO.MDE").size());
  };

  EXPECT_TRUE(Install("Vuoto.txt", "C:\\App"));
  EXPECT_TRUE(sys.files.Exists("C:\\App\\Vuoto.txt"));
  EXPECT_TRUE(view.bars[0].tags.empty());
  EXPECT_TRUE(view.labels[0].empty());

  // The name goes up once, with the first block.
  EXPECT_TRUE(Install("MAGAZZINO.MDE", "C:\\App"));
  EXPECT_EQ(view.labels[0], std::vector<std::string>{"Copia di magazzino.mde"});
  EXPECT_EQ(view.bars[0].tags, (std::vector<std::string>{"50", "100"}));
  EXPECT_EQ(atDraw[0], std::make_pair(32000.0, size_t{0}));
  EXPECT_EQ(atDraw[2], std::make_pair(64000.0, size_t{32000}));
  sys.ui.onPump = nullptr;

  // Two blocks for 32001 bytes; the label keeps the previous file's name.
  EXPECT_TRUE(Install("MSACCESS.EXE", "C:\\App"));
  EXPECT_EQ(view.labels[0].size(), 1u);
  EXPECT_EQ(view.bars[0].tags, (std::vector<std::string>{"50", "100", "100", "100"}));
  EXPECT_EQ(sys.files.Content("C:\\App\\MSACCESS.EXE"), std::string(32001, 'a'));
  EXPECT_EQ(state.BytesCopied, 96001);
  EXPECT_EQ(view.labels[1],
            (std::vector<std::string>{"Bytes copiati: 32.000", "Bytes copiati: 64.000",
                                      "Bytes copiati: 96.000", "Bytes copiati: 96.001"}));
  // Overall share of the declared 100000 bytes.
  EXPECT_EQ(view.bars[1].tags, (std::vector<std::string>{"32", "64", "96", "96"}));
}

TEST_F(InstallFileTest, OverallBarCopesWithAnUnderstatedOrMissingPackageSize) {
  sys.files.AddFile("C:\\Setup\\files\\a.txt", std::string(10, 'a'));
  state.package.PackageBytes = 5;
  EXPECT_TRUE(Install("a.txt", "C:\\App"));
  state.package.PackageBytes = 0;
  EXPECT_TRUE(Install("a.txt", "C:\\Nuova"));
  EXPECT_EQ(view.bars[1].tags, (std::vector<std::string>{"99", "0"}));
}

TEST_F(InstallFileTest, ReadOnlyDestinationIsReplacedAndEveryInstalledFileTakesTheInstallerTimes) {
  sys.files.AddFile("C:\\App\\dati.txt", "old", attr::ReadOnly | attr::Archive);
  sys.files.AddFile("C:\\Setup\\files\\dati.txt", "new");
  EXPECT_TRUE(Install("dati.txt", "C:\\App\\Sotto\\Cartella"));  // folders made on the way
  EXPECT_TRUE(Install("dati.txt", "C:\\App"));
  EXPECT_EQ(sys.files.Content("C:\\App\\dati.txt"), "new");
  EXPECT_EQ(sys.files.GetAttributes("C:\\App\\dati.txt"), attr::Normal);
  for (const char* path : {"C:\\App\\dati.txt", "C:\\App\\Sotto\\Cartella\\dati.txt"}) {
    auto times = sys.files.GetTimes(path);
    ASSERT_TRUE(times) << path;
    EXPECT_EQ(times->created, installerTimes.created);
    EXPECT_EQ(times->lastAccess, installerTimes.lastAccess);
    EXPECT_EQ(times->lastWrite, installerTimes.lastWrite);
  }
}

TEST_F(InstallFileTest, MissingSourceIsAFailedCopyAndAStartFailureIsReported) {
  struct : EventLog {
    void Write(const std::string& event) override { events.push_back(event); }
    std::vector<std::string> events;
  } log;
  state.Events = &log;
  EXPECT_FALSE(Install("assente.txt", "C:\\App"));
  EXPECT_FALSE(existed);
  EXPECT_FALSE(sys.files.Exists("C:\\App\\assente.txt"));
  EXPECT_TRUE(sys.ui.boxes.empty());

  // The transcript gives the system's reason of the call that failed, not of
  // the clean-up after it: here the old file cannot be replaced, and the
  // copy beside it is deleted afterwards.
  sys.files.AddFile("C:\\App\\pieno.txt", "old");
  sys.files.AddFile("C:\\Setup\\files\\pieno.txt", "new");
  sys.files.Inject(fakes::FakeOp::Rename, 1, {FileFault::Failed, fakes::code::DiskFull});
  EXPECT_FALSE(Install("pieno.txt", "C:\\App"));
  EXPECT_EQ(sys.files.Content("C:\\App\\pieno.txt"), "old");
  EXPECT_FALSE(sys.files.Exists("C:\\App\\pieno.000"));
  EXPECT_EQ(log.events, (std::vector<std::string>{
                            "non copiato: C:\\App\\assente.txt (file non trovato: Impossibile "
                            "trovare il file specificato.)",
                            "non copiato: C:\\App\\pieno.txt (errore di lettura o scrittura: "
                            "Spazio su disco insufficiente.)"}));

  // regsvr32 that cannot start: beep and box; the copy's success stands.
  sys.processes.program = nullptr;
  sys.files.AddFile("C:\\Setup\\files\\griglia.ocx", "ocx");
  EXPECT_TRUE(Install("griglia.ocx", "C:\\App"));
  ASSERT_EQ(sys.ui.boxes.size(), 1u);
  EXPECT_EQ(sys.ui.boxes[0].title, "Magazzino setup");
  EXPECT_EQ(sys.ui.boxes[0].icon, MsgIcon::Critical);
  EXPECT_EQ(sys.ui.beeps, 1);
}

TEST_F(InstallFileTest, LockedFilesAreReplacedAtTheNextStart) {
  const std::string folder = "C:\\WINDOWS\\SYSTEM32";
  const std::string system = folder + "\\";
  for (const char* name : {"COMCTL32.OCX", "kvgrid.ocx", "URLMON.DLL"}) {
    sys.files.AddFile(system + name, "old");
    sys.files.AddFile(std::string("C:\\Setup\\files\\") + name, "new");
    sys.files.Lock(system + name);
  }
  sys.files.AddFile(system + "COMCTL32.000", "someone else's");

  EXPECT_FALSE(Install("URLMON.DLL", folder));
  EXPECT_FALSE(sys.files.Exists("C:\\WINDOWS\\wininit.ini"));
  EXPECT_FALSE(state.RestartNeeded);

  EXPECT_FALSE(Install("COMCTL32.OCX", folder));
  EXPECT_TRUE(state.RestartNeeded);
  EXPECT_EQ(sys.files.Content(system + "COMCTL32.001"), "new");
  EXPECT_EQ(sys.files.Content(system + "COMCTL32.OCX"), "old");
  sys.platform.nt = false;
  EXPECT_FALSE(Install("kvgrid.ocx", folder));
  EXPECT_EQ(sys.files.Content("C:\\WINDOWS\\wininit.ini"),
            "[rename]\r\n" + system + "COMCTL32.OCX=" + system + "COMCTL32.001\r\n" + system +
                "kvgrid.ocx=" + system + "kvgrid.000\r\n");
  // Only NT-based Windows gets the replacement through its own list.
  ASSERT_EQ(sys.files.pendingRenames.size(), 1u);
  EXPECT_EQ(sys.files.pendingRenames[0],
            std::make_pair(system + "COMCTL32.001", system + "COMCTL32.OCX"));
}

TEST_F(InstallFileTest, RenameLineLandsInARenameSectionOfAnExistingWininit) {
  sys.files.AddFile("C:\\WINDOWS\\wininit.ini", "[boot]\r\nx=1");
  sys.files.AddFile("C:\\App\\a.txt", "old");
  sys.files.AddFile("C:\\Setup\\files\\a.txt", "new");
  sys.files.Lock("C:\\App\\a.txt");
  EXPECT_FALSE(Install("a.txt", "C:\\App"));
  EXPECT_EQ(sys.files.Content("C:\\WINDOWS\\wininit.ini"),
            "[boot]\r\nx=1\r\n[rename]\r\nC:\\App\\a.txt=C:\\App\\a.000\r\n");
}

TEST(NextFreeNumberedName, TakesTheFirstFreeNumberBesideTheFile) {
  fakes::FakeFileSystem files;
  files.AddFile("C:\\WINDOWS\\SYSTEM\\COMCTL32.000");
  EXPECT_EQ(NextFreeNumberedName(files, "C:\\WINDOWS\\SYSTEM\\COMCTL32.OCX"),
            "C:\\WINDOWS\\SYSTEM\\COMCTL32.001");
  for (int i = 0; i < 1000; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "C:\\D\\x.%03d", i);
    files.AddFile(name);
  }
  EXPECT_EQ(NextFreeNumberedName(files, "C:\\D\\x.dll"), "C:\\D\\x.1000");
  // No "." in the name itself: the number is added beside the file.
  EXPECT_EQ(NextFreeNumberedName(files, "C:\\D\\LEGGIMI"), "C:\\D\\LEGGIMI.000");
  EXPECT_EQ(NextFreeNumberedName(files, "C:\\a.b\\x"), "C:\\a.b\\x.000");
}

TEST(FileTimeText, DateWithTheUsersSeparatorAndTimeWithoutLeadingZeros) {
  fakes::FakeSystem sys;
  Services services = sys.services();
  sys.platform.locale[0x1D] = "/";
  EXPECT_EQ(FileTimeText(sys.platform, k1998), "07/12/1998 9.5.0");
  EXPECT_EQ(FileTimeText(sys.platform, 125'963'423'990'000'000), "29/02/2000 23.59.59");
  EXPECT_EQ(FileTimeText(sys.platform, 0), "01/01/1601 0.0.0");
  EXPECT_EQ(FileTimeText(sys.platform, uint64_t{1} << 63), "");
  EXPECT_EQ(LastWriteText(services, "C:\\assente.mdb"), "01/01/1601 0.0.0");
  sys.platform.locale[0x1D] = "-";
  EXPECT_EQ(FileTimeText(sys.platform, 134'117'966'450'000'000), "02-01-2026 3.4.5");
}

}  // namespace
}  // namespace tessaro
