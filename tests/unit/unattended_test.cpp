// The installer's command line, the answers a silent run gives and the
// transcript it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fakes/fakes.h"
#include "texts.h"
#include "unattended/command_line.h"
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

TEST(SilentRun, GivesEachQuestionItsStatedAnswerAndNeverWaitsForAPerson) {
  fakes::FakeSystem sys;
  static int second = 0;
  Transcript transcript(sys.files, "C:\\setup.log",
                        [] { return "10:00:0" + std::to_string(second++); });
  ASSERT_TRUE(transcript.Start());
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
  EXPECT_EQ(sys.files.Content("C:\\setup.log"),
            "\xEF\xBB\xBF"
            "10:00:00 messaggio \"Condominio setup\": \"" + oneLine +
                "\" -> Annulla (risposta senza domande)\r\n"
            "10:00:01 messaggio \"T\": \"Riga uno  Riga due\" -> No\r\n");

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
