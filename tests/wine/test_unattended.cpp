// The installer run by a script: every failure of a silent run ends by
// itself, with nobody answering anything, with its exit code and the reason
// in the transcript.
#include <gtest/gtest.h>

#include <set>

#include "robot.h"
#include "support.h"
#include "texts.h"

namespace {

using robot::Recording;

struct SilentRun {
  Recording recording;
  std::string transcript;
};

// Runs the installer of a fresh setup folder with `args` and a transcript,
// answering nothing. The transcript of an earlier run in the same place is
// deleted first, or with `over_earlier` left for the run to write over.
SilentRun RunUnanswered(const std::string& folder, std::vector<std::string> args,
                        bool over_earlier = false) {
  const std::string log = folder + ".log";
  if (!over_earlier) DeleteFileW(robot::widen(log).c_str());
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

// The transcripts that runs without /LOG made in the TEMP folder, by name.
std::set<std::string> RunTranscripts() {
  std::set<std::string> names;
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((std::wstring(temp) + L"Tessaro-Installer-*.log").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do names.insert(robot::narrow(temp) + robot::narrow(found.cFileName));
  while (FindNextFileW(find, &found));
  FindClose(find);
  return names;
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

  // A destination the page would refuse; the transcript is written over the
  // one of the run before.
  SilentRun refused =
      RunUnanswered(folder, {"/VERYSILENT", "/D=\\\\server\\condivisa\\Condominio"}, true);
  ExpectEvents(refused, {"destinazione rifiutata: \\\\server\\condivisa\\Condominio",
                         "fine, codice di uscita 1603"});
  EXPECT_EQ(refused.recording.exit_code, 1603u);
  EXPECT_EQ(refused.transcript.rfind("\xEF\xBB\xBF", 0), 0u) << refused.transcript;
  EXPECT_EQ(refused.transcript.find("/RIAVVIA"), std::string::npos) << refused.transcript;

  // /LOG naming the package's own Setup.dip, started from the setup folder:
  // a bad command line, the package as it was. The refusal is in a transcript
  // of the run's own, in TEMP. (A setup folder afresh: the run before emptied
  // it as it ended.)
  const std::string intact = wine_test::make_setup_folder();
  const std::string dip = intact + "\\Setup.dip";
  const std::optional<std::string> package = wine_test::read_file(dip);
  ASSERT_TRUE(package && !package->empty());
  const std::set<std::string> earlier = RunTranscripts();
  robot::Process clobber = robot::Process::start(
      intact + "\\Installer.exe", {"/S", "/D=" + destination, "/LOG=Setup.dip"}, intact);
  ASSERT_TRUE(clobber.started()) << clobber.error();
  SilentRun refusedLog;
  refusedLog.recording = robot::record_boxes(clobber, {}, robot::Millis{60000});
  EXPECT_EQ(refusedLog.recording.exit_code, 1639u);
  EXPECT_EQ(wine_test::read_file(dip), package);
  EXPECT_FALSE(wine_test::exists(destination));
  std::vector<std::string> made;
  for (const std::string& name : RunTranscripts())
    if (!earlier.count(name)) made.push_back(name);
  ASSERT_EQ(made.size(), 1u);
  refusedLog.transcript = wine_test::read_file(made[0]).value_or("");
  const std::string why = std::string(tessaro::texts::kLogNotTranscript) + dip;
  ExpectEvents(refusedLog, {why.c_str(), "fine, codice di uscita 1639"});
  DeleteFileW(robot::widen(made[0]).c_str());

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
// the next start; /NORESTART leaves the restart to the administrator.
TEST(Unattended, AFileInUseWithNoRestartEndsWith3010) {
  const std::string folder = wine_test::make_setup_folder();
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
  CloseHandle(file);
  ExpectEvents(run, {"Sì (risposta senza domande)", "-> Annulla (risposta senza domande)",
                     "fine, codice di uscita 3010"});
  EXPECT_NE(run.transcript.find("al riavvio: " + held), std::string::npos) << run.transcript;
  EXPECT_EQ(run.recording.exit_code, 3010u);
  EXPECT_TRUE(wine_test::exists(destination + "\\condominio.mde"));
  EXPECT_EQ(wine_test::read_file(held), "vecchio");
  wine_test::remove_tree(destination);
}

// Wine told to prefer, for one program, a DLL found on the search path to
// its own: version=n,b as WINEDLLOVERRIDES would say it, but in the prefix's
// key for that program, which reaches a program started by CreateProcess (a
// child gets the Unix environment Wine started with, not the test's changes
// to its own).
class PreferDllOnSearchPath {
 public:
  PreferDllOnSearchPath(const std::wstring& program, const wchar_t* dll)
      : program_key_(L"Software\\Wine\\AppDefaults\\" + program) {
    const std::wstring key = program_key_ + L"\\DllOverrides";
    const wchar_t order[] = L"native,builtin";
    HKEY overrides = nullptr;
    ok_ = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &overrides, nullptr) == ERROR_SUCCESS &&
          RegSetValueExW(overrides, dll, 0, REG_SZ, reinterpret_cast<const BYTE*>(order),
                         sizeof order) == ERROR_SUCCESS;
    if (overrides) RegCloseKey(overrides);
  }
  ~PreferDllOnSearchPath() { RegDeleteTreeW(HKEY_CURRENT_USER, program_key_.c_str()); }
  PreferDllOnSearchPath(const PreferDllOnSearchPath&) = delete;
  PreferDllOnSearchPath& operator=(const PreferDllOnSearchPath&) = delete;
  bool ok() const { return ok_; }

 private:
  std::wstring program_key_;
  bool ok_ = false;
};

// A version.dll planted in the setup folder is never loaded, even with Wine
// told to prefer it to its own: not by the DLL search once wWinMain has
// restricted it, not for the version functions, not as the import of a
// component loaded to be registered. The programs' static imports are the PE
// check's (ctest pe.*); the loading code runs in dll_probe.exe, because any
// program importing user32 has version.dll loaded under Wine before its first
// statement (Wine's user32 imports it).
TEST(Unattended, AVersionDllPlantedInTheSetupFolderIsNeverLoaded) {
  const std::string folder = wine_test::make_setup_folder(false);
  const std::string planted = folder + "\\version.dll";
  const std::string probe = folder + "\\dll_probe.exe";
  ASSERT_TRUE(CopyFileW(robot::widen(wine_test::standin("planted\\version.dll")).c_str(),
                        robot::widen(planted).c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(robot::widen(wine_test::standin("dll_probe.exe")).c_str(),
                        robot::widen(probe).c_str(), FALSE));
  const std::string components = wine_test::scratch_folder("Unattended.componenti");
  const std::string component = components + "\\uses_version.dll";
  ASSERT_TRUE(CopyFileW(robot::widen(wine_test::standin("uses_version.dll")).c_str(),
                        robot::widen(component).c_str(), FALSE));
  PreferDllOnSearchPath prefer_planted(L"dll_probe.exe", L"version");
  ASSERT_TRUE(prefer_planted.ok());

  const std::vector<std::vector<std::string>> loads = {
      {"search"}, {"version"}, {"component", component}};
  for (const auto& load : loads) {
    DeleteFileW(robot::widen(planted + ".loaded").c_str());
    robot::Process run = robot::Process::start(probe, load, "C:\\");
    ASSERT_TRUE(run.started()) << run.error();
    ASSERT_TRUE(run.wait_exit());
    EXPECT_EQ(run.exit_code(), 0u) << load[0];
    EXPECT_FALSE(wine_test::exists(planted + ".loaded"))
        << load[0] << ": the planted version.dll was loaded";
  }
  wine_test::remove_tree(components);
}

}  // namespace
