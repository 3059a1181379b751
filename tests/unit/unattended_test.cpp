// The installer's command line, the answers a silent run gives and the
// transcript it writes.
#include <gtest/gtest.h>

#include "command_line.h"
#include "fakes/fakes.h"
#include "texts.h"
#include "unattended_ui.h"

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

TEST(SilentRun, AnswersEveryQuestionAndNeverWaitsForAPerson) {
  EXPECT_EQ(SilentAnswer(texts::kCreateMissingFolder, MsgButtons::YesNo, false), MsgAnswer::Yes);
  EXPECT_EQ(SilentAnswer(texts::kFolderHoldsFiles, MsgButtons::YesNo, false), MsgAnswer::Yes);
  EXPECT_EQ(SilentAnswer(texts::kRestartQuestion, MsgButtons::OkCancel, false), MsgAnswer::Ok);
  EXPECT_EQ(SilentAnswer(texts::kRestartQuestion, MsgButtons::OkCancel, true), MsgAnswer::Cancel);
  EXPECT_EQ(SilentAnswer(texts::kSafeModeQuestion, MsgButtons::OkCancel, false), MsgAnswer::Ok);
  EXPECT_EQ(SilentAnswer(texts::kStartupError, MsgButtons::Ok, false), MsgAnswer::Ok);
  EXPECT_EQ(SilentAnswer("altro", MsgButtons::RetryCancel, false), MsgAnswer::Cancel);

  fakes::FakeSystem sys;
  static int second = 0;
  Transcript transcript(sys.files, "C:\\setup.log",
                        [] { return "10:00:0" + std::to_string(second++); });
  ASSERT_TRUE(transcript.Start());
  UnattendedUi silent(sys.ui, &transcript, true, true);
  EXPECT_EQ(silent.ShowMessage(texts::kRestartQuestion, "Condominio setup", MsgIcon::Exclamation,
                               MsgButtons::OkCancel),
            MsgAnswer::Cancel);
  silent.Beep();
  EXPECT_TRUE(sys.ui.boxes.empty());  // nothing shown
  EXPECT_EQ(sys.ui.beeps, 0);

  sys.ui.answers = {MsgAnswer::No};
  UnattendedUi person(sys.ui, &transcript, false, false);
  EXPECT_EQ(person.ShowMessage("Riga uno\r\nRiga due", "T", MsgIcon::Question, MsgButtons::YesNo),
            MsgAnswer::No);
  EXPECT_EQ(sys.ui.boxes.size(), 1u);

  const std::string restart = texts::kRestartQuestion;
  std::string oneLine;
  for (char c : restart) oneLine += (c == '\r' || c == '\n') ? ' ' : c;
  EXPECT_EQ(sys.files.Content("C:\\setup.log"),
            "\xEF\xBB\xBF"
            "10:00:00 messaggio \"Condominio setup\": \"" + oneLine +
                "\" -> Annulla (risposta senza domande)\r\n"
            "10:00:01 messaggio \"T\": \"Riga uno  Riga due\" -> No\r\n");
}

}  // namespace
}  // namespace tessaro
