#include "engine/registration.h"

#include <gtest/gtest.h>

#include "errors.h"
#include "fakes/fakes.h"

namespace tessaro {
namespace {

constexpr uint32_t kLocalMachine = 0x80000002u;
constexpr const char* kFonts = "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";

struct Registration : ::testing::Test {
  fakes::FakeSystem sys;
  Services services = sys.services();

  Registration() {
    sys.processes.program = [](const std::string&) { return true; };
    sys.registry.CreateKey(kLocalMachine, kFonts);
  }
  void Register(const std::string& source, const std::string& destination) {
    RegisterComponent(services, source, destination);
  }
  // For files installed as C:\Dest\file.
  bool NothingHappened() {
    return sys.processes.launched.empty() && sys.processes.started.empty() &&
           sys.platform.fontChangeBroadcasts == 0 &&
           !sys.registry.Get(kLocalMachine, kFonts, "file (TrueType)");
  }
};

TEST_F(Registration, LibrariesAndControlsStartRegsvr32MinimizedWithoutWaiting) {
  Register("files\\kvgrid.ocx", "C:\\WINDOWS\\SYSTEM32\\kvgrid.ocx");
  Register("files\\Stampa.Dll", "C:\\Programmi\\Gestione Magazzino\\Stampa.Dll");
  ASSERT_EQ(sys.processes.launched.size(), 2u);
  EXPECT_EQ(sys.processes.launched[0].commandLine,
            "C:\\WINDOWS\\SYSTEM32\\regsvr32 \"C:\\WINDOWS\\SYSTEM32\\kvgrid.ocx\" /S");
  EXPECT_EQ(sys.processes.launched[1].commandLine,
            "C:\\WINDOWS\\SYSTEM32\\regsvr32 \"C:\\Programmi\\Gestione Magazzino\\Stampa.Dll\" /S");
  EXPECT_TRUE(sys.processes.launched[0].minimized);
  EXPECT_TRUE(sys.processes.launched[1].minimized);
  EXPECT_TRUE(sys.processes.started.empty());  // nothing waited for
}

TEST_F(Registration, OnlyTheTextAfterTheFirstDotOfTheSourceIsTheType) {
  sys.platform.nt = false;
  for (const char* source : {"files\\x.y.dll", "files\\font.ttf.bak", "files\\magazzino.exe",
                             "files\\dati.mdb", "files\\LEGGIMI", "files\\kvgrid.ocx2"}) {
    Register(source, "C:\\Dest\\file");
    EXPECT_TRUE(NothingHappened()) << source;
  }
  EXPECT_EQ(InstallFileType(sys.platform, "files\\x.y.dll"), "Y.DLL");
}

TEST_F(Registration, ARegsvr32ThatCannotStartIsARuntimeError) {
  sys.processes.program = nullptr;
  try {
    Register("files\\kvgrid.ocx", "C:\\WINDOWS\\SYSTEM32\\kvgrid.ocx");
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::FileNotFound);
    EXPECT_NE(std::string(e.what()).find("regsvr32"), std::string::npos);
  }
}

TEST_F(Registration, FontsAreEnteredByFileNameOnWindows9x) {
  sys.platform.nt = false;
  Register("files\\MAGAZZ.TTF", "C:\\WINDOWS\\Fonts\\Magazz.ttf");
  const RegData* value = sys.registry.Get(kLocalMachine, kFonts, "Magazz.ttf (TrueType)");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, regtype::String);
  EXPECT_EQ(value->text.substr(0, value->text.find('\0')), "Magazz.ttf");
  EXPECT_EQ(sys.platform.fontChangeBroadcasts, 1);
  EXPECT_TRUE(sys.processes.launched.empty());
}

TEST_F(Registration, AMissingFontsKeyIsNotCreatedButTheChangeIsAnnounced) {
  fakes::FakeSystem bare;  // no fonts key
  bare.platform.nt = false;
  Services services = bare.services();
  RegisterComponent(services, "files\\a.ttf", "C:\\WINDOWS\\Fonts\\a.ttf");
  EXPECT_FALSE(bare.registry.KeyExists(kLocalMachine, kFonts));
  EXPECT_EQ(bare.platform.fontChangeBroadcasts, 1);
}

TEST_F(Registration, NTBasedWindowsGetsNoFontEntryAndNoAnnouncement) {
  sys.platform.nt = true;
  Register("files\\file.ttf", "C:\\Dest\\file");
  EXPECT_TRUE(NothingHappened());
}

}  // namespace
}  // namespace tessaro
