// The installer's command line, the answers a silent run gives and the
// transcript it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fakes/fakes.h"
#include "texts.h"
#include "unattended/command_line.h"
#include "unattended/transcript.h"
#include "unattended/unattended_ui.h"

namespace tessaro {
namespace {

TEST(CommandLineSwitches, AreReadInAnyOrderAndCaseWithQuotedValues) {
  CommandLine none = ParseCommandLine("");
  EXPECT_FALSE(none.silent || none.help || none.destination || none.log);
  EXPECT_TRUE(none.error.empty());

  CommandLine all = ParseCommandLine(
      "/nodesktop /D=\"C:\\Aziende\\Contabilità\" /s /group=Gestionali /NoRestart "
      "\"/LOG=C:\\Log di prova\\setup.log\"");
  EXPECT_TRUE(all.error.empty()) << all.error;
  EXPECT_TRUE(all.silent && all.noDesktop && all.noRestart);
  EXPECT_FALSE(all.verySilent);
  EXPECT_EQ(all.destination, "C:\\Aziende\\Contabilità");
  EXPECT_EQ(all.group, "Gestionali");
  EXPECT_EQ(all.log, "C:\\Log di prova\\setup.log");

  CommandLine quiet = ParseCommandLine("/VERYSILENT");
  EXPECT_TRUE(quiet.silent && quiet.verySilent);
  EXPECT_TRUE(ParseCommandLine("/?").help);
  EXPECT_TRUE(ParseCommandLine("/Help").help);

  for (const char* bad : {"/X", "/SILENT", "C:\\Altrove", "/D=", "/S=1", "/GROUP", "/D=\"\""}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ParseCommandLine(std::string("/S ") + bad).error.empty());
  }
  EXPECT_NE(ParseCommandLine("/X").error.find("/X"), std::string::npos);
  // A bad line is still read to its end, so that /S after the fault keeps
  // the refusal silent; the first fault is the one told.
  CommandLine late = ParseCommandLine("/X /Y /VERYSILENT");
  EXPECT_TRUE(late.silent);
  EXPECT_NE(late.error.find("/X"), std::string::npos);
}

// /LOG names a file to write the transcript to, nothing else: never a device,
// a path of the device namespaces or a stream, never a link, and never an
// existing file that is not a transcript of an earlier run (/LOG=Setup.dip
// from the setup folder would destroy the package).
TEST(CommandLineSwitches, LogRefusesDevicesSpecialPathsLinksAndFilesThatAreNotTranscripts) {
  for (const char* path :
       {"CON", "nul", "NUL.txt", "nul .log", "C:\\Temp\\NUL", "Aux.log", "PRN", "COM1",
        "com9.log", "LPT1", "lpt3.txt", "COM\xC2\xB9", "CONIN$", "CONOUT$", "C:\\Temp\\CLOCK$",
        "\\\\.\\COM1", "\\\\.\\C:\\Temp\\setup.log", "\\\\?\\C:\\Temp\\setup.log",
        "//./PhysicalDrive0", "\\??\\C:\\Temp\\setup.log", "Setup.dip:resoconto", "COM1:",
        "C:\\Temp\\setup.log:flusso"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(LogPathRefusal(path), texts::kLogNotAFile + std::string(path));
    CommandLine line = ParseCommandLine("/S \"/LOG=" + std::string(path) + "\"");
    EXPECT_EQ(line.error, texts::kLogNotAFile + std::string(path));
    EXPECT_TRUE(line.silent);
    EXPECT_FALSE(line.log);  // never opened
  }
  // Names that only look like them are files.
  for (const char* path : {"setup.log", "CONSOLE.log", "C:\\NUL\\setup.log", "COM10", "LPT",
                           "nul-setup.log", "\\\\server\\condivisa\\setup.log", "C:setup.log",
                           "C:\\Log di prova\\Com1 e Lpt1.log"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(LogPathRefusal(path), "");
    EXPECT_EQ(ParseCommandLine("/S \"/LOG=" + std::string(path) + "\"").log, path);
  }

  // What lies at the path: only a transcript of an earlier run, or an empty
  // file, is written over.
  const std::string path = "C:\\Setup\\Setup.dip";
  const std::string earlier =
      "\xEF\xBB\xBF" "2026-12-10 04:24:44 avvio di Installer.exe, riga di comando: /S\r\n"
      "2026-12-10 04:24:45 fine, codice di uscita 0\r\n";
  auto found = [](std::string head) {
    ExistingLogFile file;
    file.head = std::move(head);
    return file;
  };
  EXPECT_EQ(ExistingLogRefusal(path, found(earlier)), "");
  EXPECT_EQ(ExistingLogRefusal(path, found(earlier.substr(0, kTranscriptHeadSize))), "");
  EXPECT_EQ(ExistingLogRefusal(path, found("")), "");
  for (const std::string& other :
       {std::string("Nome:Contabilit\xE0 Condominio v.3.2\r\nVers.  :3.2\r\n"),
        std::string("2026-12-10 04:24:44 avvio di Installer.exe, riga di comando: /S\r\n"),
        std::string("\xEF\xBB\xBF"), std::string("\xEF\xBB\xBFvoci\r\n"),
        std::string("\xEF\xBB\xBF" "avvio di Installer.exe, riga di comando: /S\r\n"),
        std::string("\xEF\xBB\xBF" "Note: 2026 avvio di Installer.exe, riga di comando: \r\n"),
        std::string("\xEF\xBB\xBF" "10:00\r\naltro avvio di Installer.exe, riga di comando: \r\n")}) {
    SCOPED_TRACE(other);
    EXPECT_EQ(ExistingLogRefusal(path, found(other)), texts::kLogNotTranscript + path);
  }
  ExistingLogFile folder = found("");
  folder.folder = true;
  EXPECT_EQ(ExistingLogRefusal(path, folder), texts::kLogNotTranscript + path);
  ExistingLogFile link = found(earlier);
  link.reparsePoint = true;
  EXPECT_EQ(ExistingLogRefusal(path, link), texts::kLogIsLink + path);
  ExistingLogFile twoNames = found(earlier);
  twoNames.links = 2;
  EXPECT_EQ(ExistingLogRefusal(path, twoNames), texts::kLogIsLink + path);
  ExistingLogFile device = found("");
  device.diskFile = false;
  EXPECT_EQ(ExistingLogRefusal(path, device), texts::kLogNotAFile + path);
}

TEST(SilentRun, GivesEachQuestionItsStatedAnswerAndNeverWaitsForAPerson) {
  fakes::FakeSystem sys;
  static int second = 0;
  FileStatus status;
  Transcript transcript(sys.files.OpenForWriting("C:\\setup.log", status), "C:\\setup.log",
                        [] { return "10:00:0" + std::to_string(second++); });
  ASSERT_TRUE(transcript.Start("/S"));
  UnattendedUi silent(sys.ui, &transcript, true);
  EXPECT_EQ(silent.Ask(texts::kRestartQuestion, "Condominio setup", MsgIcon::Exclamation,
                       MsgButtons::OkCancel, MsgAnswer::Cancel),
            MsgAnswer::Cancel);
  silent.Beep();
  EXPECT_TRUE(sys.ui.boxes.empty());  // nothing shown
  EXPECT_EQ(sys.ui.beeps, 0);

  sys.ui.answers = {MsgAnswer::No};
  UnattendedUi person(sys.ui, &transcript, false);
  EXPECT_EQ(
      person.Ask("Riga uno\r\nRiga due", "T", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes),
      MsgAnswer::No);
  ASSERT_EQ(sys.ui.boxes.size(), 1u);
  EXPECT_EQ(sys.ui.boxes[0].unattended, MsgAnswer::Yes);  // handed on

  const std::string restart = texts::kRestartQuestion;
  std::string oneLine;
  for (char c : restart) oneLine += (c == '\r' || c == '\n') ? ' ' : c;
  const std::string written = sys.files.Content("C:\\setup.log");
  EXPECT_EQ(written,
            "\xEF\xBB\xBF"
            "10:00:00 avvio di Installer.exe, riga di comando: /S\r\n"
            "10:00:01 messaggio \"Condominio setup\": \"" + oneLine +
                "\" -> Annulla (risposta senza domande)\r\n"
            "10:00:02 messaggio \"T\": \"Riga uno  Riga due\" -> No\r\n");
  EXPECT_TRUE(IsTranscript(written));

  // A box that states no answer: OK alone gets OK, any other choice the
  // button that goes no further, never a retry.
  UnattendedUi untold(sys.ui, nullptr, true);
  EXPECT_EQ(untold.ShowMessage(texts::kStartupError, "T", MsgIcon::Critical, MsgButtons::Ok),
            MsgAnswer::Ok);
  EXPECT_EQ(untold.ShowMessage("?", "T", MsgIcon::Question, MsgButtons::YesNo), MsgAnswer::No);
  EXPECT_EQ(untold.ShowMessage("?", "T", MsgIcon::Question, MsgButtons::RetryCancel),
            MsgAnswer::Cancel);
  EXPECT_EQ(sys.ui.boxes.size(), 1u);
}

// Every box the installer shows is either a plain message (OK alone) or a
// question asked through UserInterface::Ask, which cannot be called without
// the answer a silent run gives. Read from the sources, so that it covers
// the forms too and a question no test reaches yet.
TEST(SilentRun, EveryQuestionTheInstallerCanAskStatesItsSilentAnswer) {
  namespace fs = std::filesystem;
  const fs::path installer =
      fs::path(TESSARO_SAMPLE_PACKAGE).parent_path().parent_path() / "installer";
  ASSERT_TRUE(fs::is_directory(installer)) << installer;
  int boxes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(installer)) {
    const fs::path& path = entry.path();
    // The unattended user interface hands boxes on; it shows none of its own.
    if ((path.extension() != ".cpp" && path.extension() != ".h") ||
        path.stem() == "unattended_ui")
      continue;
    std::ifstream in(path, std::ios::binary);
    const std::string source{std::istreambuf_iterator<char>(in), {}};
    for (const char* call : {"ShowMessage(", "MessageBoxW("}) {
      for (size_t at = source.find(call); at != std::string::npos;
           at = source.find(call, at + 1)) {
        // The call's arguments, to its closing parenthesis.
        size_t end = at + std::string(call).size();
        for (int depth = 1; end < source.size() && depth > 0; ++end)
          depth += source[end] == '(' ? 1 : source[end] == ')' ? -1 : 0;
        std::string arguments = source.substr(at, end - at);
        std::erase_if(arguments, [](char c) { return c == ' ' || c == '\n' || c == '\r'; });
        const bool plain = arguments.ends_with("MsgButtons::Ok)") ||
                           arguments.find("MB_OK|") != std::string::npos ||
                           arguments.ends_with("MB_OK)");
        EXPECT_TRUE(plain) << path.filename().string() << ": a box with more than one button "
                           << "and no silent answer; ask it with Ask: " << arguments;
        ++boxes;
      }
    }
  }
  EXPECT_GT(boxes, 10);
}

}  // namespace
}  // namespace tessaro
