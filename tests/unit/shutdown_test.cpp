#include "services/shutdown.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "package_fixture.h"
#include "services/restart.h"
#include "settings/setup_folder.h"

namespace tessaro {
namespace {

using fakes::FakePlatform;
using fakes::FakeUi;

std::vector<std::string> Texts(const FakeUi& ui) {
  std::vector<std::string> texts;
  for (const auto& box : ui.boxes) texts.push_back(box.text);
  return texts;
}

TEST(ShutdownNT, RestartHoldsThePrivilegeOnlyForTheRequest) {
  FakeUi ui;
  FakePlatform platform;
  clsShutdown shutdown(ui, platform);
  EXPECT_TRUE(shutdown.ShutDownNTbasedWindows(ewx::Reboot));
  EXPECT_EQ(platform.privilegeCalls, (std::vector<bool>{true, false}));
  ASSERT_EQ(platform.exitRequests.size(), 1u);
  EXPECT_EQ(platform.exitRequests[0].flags, 2u);
  EXPECT_TRUE(platform.exitRequests[0].privileged);
  EXPECT_FALSE(platform.shutdownPrivilegeEnabled);
  EXPECT_TRUE(ui.boxes.empty());

  // Logging off, forced or not, needs no privilege.
  for (uint32_t mode : {ewx::LogOff, ewx::Force}) {
    FakePlatform plain;
    clsShutdown logoff(ui, plain);
    EXPECT_TRUE(logoff.ShutDownNTbasedWindows(mode));
    EXPECT_TRUE(plain.privilegeCalls.empty()) << mode;
    ASSERT_EQ(plain.exitRequests.size(), 1u);
    EXPECT_EQ(plain.exitRequests[0].flags, mode);
  }
  // Shutting down and powering off do.
  for (uint32_t mode : {ewx::ShutDown | ewx::Force, ewx::PowerOff}) {
    FakePlatform off;
    clsShutdown(ui, off).ShutDownNTbasedWindows(mode);
    EXPECT_EQ(off.privilegeCalls.size(), 2u) << mode;
  }
}

TEST(ShutdownNT, ARefusedRestartIsToldAndThePrivilegeGivenUp) {
  FakeUi ui;
  FakePlatform platform;
  platform.refuseExit = true;
  EXPECT_FALSE(clsShutdown(ui, platform).ShutDownNTbasedWindows(ewx::Reboot));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Il sistema non può essere riavviato, si è verificato un errore.");
  EXPECT_EQ(ui.boxes[0].title, "Installer");
  EXPECT_EQ(ui.boxes[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(ui.boxes[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(platform.privilegeCalls, (std::vector<bool>{true, false}));
  EXPECT_FALSE(platform.shutdownPrivilegeEnabled);
}

TEST(ShutdownNT, APrivilegeFailureIsToldAndWindowsIsNotAsked) {
  struct Case {
    PrivilegeStep failure;
    const char* message;
  };
  // Only the first message has a blank before its line break.
  const Case cases[] = {
      {PrivilegeStep::TokenNotOpened,
       "Si è verificato un errore per l'ACCESSO ai diritti di riavvio. \r\nCodice Errore PRIV-001"},
      {PrivilegeStep::NotLookedUp,
       "Si è verificato un errore per l'ACCESSO ai diritti di riavvio.\r\nCodice Errore PRIV-002"},
      {PrivilegeStep::NotAdjusted,
       "Si è verificato un errore per l'ACCESSO ai diritti di riavvio.\r\nCodice Errore PRIV-003"},
  };
  for (const Case& c : cases) {
    FakeUi ui;
    FakePlatform platform;
    platform.privilegeFailure = c.failure;
    EXPECT_FALSE(clsShutdown(ui, platform).ShutDownNTbasedWindows(ewx::Reboot));
    EXPECT_EQ(
        Texts(ui),
        (std::vector<std::string>{
            c.message, "L'utente corrente non dispone dei diritti per il riavvio del sistema"}));
    for (const auto& box : ui.boxes) {
      EXPECT_EQ(box.title, "Installer");
      EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    }
    EXPECT_TRUE(platform.exitRequests.empty());
    EXPECT_EQ(platform.privilegeCalls.size(), 1u);
  }
}

TEST(ShutdownDOS, AsksWindowsOnceWithoutThePrivilege) {
  FakeUi ui;
  FakePlatform platform;
  clsShutdown shutdown(ui, platform);
  EXPECT_TRUE(shutdown.ShutDownDOSbasedWindows(ewx::Reboot));
  platform.refuseExit = true;
  EXPECT_FALSE(shutdown.ShutDownDOSbasedWindows(ewx::Reboot));
  EXPECT_EQ(platform.exitRequests.size(), 2u);
  EXPECT_TRUE(platform.privilegeCalls.empty());
  EXPECT_EQ(Texts(ui), (std::vector<std::string>{
                           "Il sistema non può essere riavviato, si è verificato un errore."}));
}

TEST(EndOfSetupRestart, RestartsOnlyWhenAFileWasDeferred) {
  testing::PackageMachine quiet;
  EXPECT_THROW(EndOfSetup(quiet.cx), fakes::ProgramEnded);
  EXPECT_TRUE(quiet.sys.platform.exitRequests.empty());

  for (bool nt : {true, false}) {
    testing::PackageMachine m;
    m.sys.platform.nt = nt;
    m.state.RestartNeeded = true;
    m.sys.platform.refuseExit = true;  // the program ends all the same
    EXPECT_THROW(EndOfSetup(m.cx), fakes::ProgramEnded);
    ASSERT_EQ(m.sys.platform.exitRequests.size(), 1u);
    EXPECT_EQ(m.sys.platform.exitRequests[0].flags, 2u);
    EXPECT_EQ(m.sys.platform.exitRequests[0].privileged, nt);
    EXPECT_EQ(m.sys.ui.boxes.size(), 1u);
    EXPECT_FALSE(m.sys.files.Exists("C:\\Setup\\Setup.dip"));  // the package went first
  }
}

}  // namespace
}  // namespace tessaro
