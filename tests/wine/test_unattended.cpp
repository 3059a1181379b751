// The installer run by a script: every failure of a silent run ends by
// itself, with nobody answering anything, with its exit code and the reason
// in the transcript.
#include <gtest/gtest.h>

#include "robot.h"
#include "support.h"

namespace {

using robot::Recording;

struct SilentRun {
  Recording recording;
  std::string transcript;
};

// Runs the installer of a fresh setup folder with `args` and a transcript,
// answering nothing.
SilentRun RunUnanswered(const std::string& folder, std::vector<std::string> args) {
  const std::string log = folder + ".log";
  DeleteFileW(robot::widen(log).c_str());
  args.push_back("/LOG=" + log);
  robot::Process installer = robot::Process::start(folder + "\\Installer.exe", args, "C:\\");
  SilentRun run;
  if (!installer.started()) {
    ADD_FAILURE() << installer.error();
    return run;
  }
  run.recording = robot::record_boxes(installer, {}, robot::Millis{60000});
  run.transcript = wine_test::read_file(log).value_or("");
  return run;
}

void ExpectEvents(const SilentRun& run, std::initializer_list<const char*> events) {
  EXPECT_EQ(run.recording.end, Recording::End::exited) << run.recording.describe();
  EXPECT_TRUE(run.recording.boxes.empty()) << run.recording.describe();
  for (const char* event : events)
    EXPECT_NE(run.transcript.find(event), std::string::npos) << event << "\n" << run.transcript;
}

TEST(Unattended, EveryFailureEndsByItselfWithItsExitCode) {
  const std::string folder = wine_test::make_setup_folder();
  const std::string destination = "C:\\tessaro-tests\\Senza domande";
  wine_test::remove_tree(destination);

  // A bad command line: nothing is installed, not even the folder.
  SilentRun bad = RunUnanswered(folder, {"/S", "/D=" + destination, "/RIAVVIA"});
  ExpectEvents(bad, {"riga di comando non valida: Opzione sconosciuta: /RIAVVIA",
                     "fine, codice di uscita 1639"});
  EXPECT_EQ(bad.recording.exit_code, 1639u);
  EXPECT_FALSE(wine_test::exists(destination));

  // A destination the page would refuse.
  SilentRun refused =
      RunUnanswered(folder, {"/VERYSILENT", "/D=\\\\server\\condivisa\\Condominio"});
  ExpectEvents(refused, {"destinazione rifiutata: \\\\server\\condivisa\\Condominio",
                         "fine, codice di uscita 1603"});
  EXPECT_EQ(refused.recording.exit_code, 1603u);

  // A missing package file: the start-up's box, answered OK by the run itself.
  const std::string missing = wine_test::make_setup_folder();
  DeleteFileW(robot::widen(missing + "\\Setup.ftc").c_str());
  SilentRun incomplete = RunUnanswered(missing, {"/S", "/D=" + destination});
  ExpectEvents(incomplete,
               {"Setup.ftc", "-> OK (risposta senza domande)", "fine, codice di uscita 1603"});
  EXPECT_EQ(incomplete.recording.exit_code, 1603u);
  EXPECT_FALSE(wine_test::exists(destination));
}

// A file of the package held open by another program is put in place at
// the next start; /NORESTART leaves the restart to the administrator. A
// version.dll planted in the setup folder is never loaded, even with Wine
// told to prefer a DLL found on the search path to its own.
TEST(Unattended, AFileInUseWithNoRestartEndsWith3010) {
  const std::string folder = wine_test::make_setup_folder();
  const std::string planted = folder + "\\version.dll";
  ASSERT_TRUE(CopyFileW(robot::widen(wine_test::standin("planted\\version.dll")).c_str(),
                        robot::widen(planted).c_str(), FALSE));
  wchar_t overrides[512] = {};
  GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 512);
  SetEnvironmentVariableW(L"WINEDLLOVERRIDES", (std::wstring(overrides) + L";version=n,b").c_str());
  const std::string destination = "C:\\tessaro-tests\\In uso";
  wine_test::remove_tree(destination);
  CreateDirectoryW(robot::widen(destination).c_str(), nullptr);
  const std::string held = destination + "\\leggimi.txt";
  HANDLE file = CreateFileW(robot::widen(held).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "vecchio", 7, &written, nullptr);

  SilentRun run = RunUnanswered(folder, {"/s", "/d=" + destination, "/NoRestart"});
  SetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides);
  CloseHandle(file);
  EXPECT_FALSE(wine_test::exists(planted + ".loaded"));
  ExpectEvents(run, {"Sì (risposta senza domande)", "-> Annulla (risposta senza domande)",
                     "fine, codice di uscita 3010"});
  EXPECT_NE(run.transcript.find("al riavvio: " + held), std::string::npos) << run.transcript;
  EXPECT_EQ(run.recording.exit_code, 3010u);
  EXPECT_TRUE(wine_test::exists(destination + "\\condominio.mde"));
  EXPECT_EQ(wine_test::read_file(held), "vecchio");
  wine_test::remove_tree(destination);
}

}  // namespace
