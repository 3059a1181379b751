#include "unattended_ui.h"

#include "texts.h"

namespace tessaro {

MsgAnswer SilentAnswer(const std::string& text, MsgButtons buttons, bool noRestart) {
  switch (buttons) {
    case MsgButtons::Ok:
      return MsgAnswer::Ok;
    case MsgButtons::YesNo:
      return text == texts::kCreateMissingFolder || text == texts::kFolderHoldsFiles
                 ? MsgAnswer::Yes
                 : MsgAnswer::No;
    case MsgButtons::OkCancel:
      if (text == texts::kRestartQuestion) return noRestart ? MsgAnswer::Cancel : MsgAnswer::Ok;
      return text == texts::kSafeModeQuestion ? MsgAnswer::Ok : MsgAnswer::Cancel;
    case MsgButtons::YesNoCancel:
    case MsgButtons::RetryCancel:
      return MsgAnswer::Cancel;
    case MsgButtons::AbortRetryIgnore:
      return MsgAnswer::Abort;
  }
  return MsgAnswer::Cancel;
}

MsgAnswer UnattendedUi::ShowMessage(const std::string& text, const std::string& title, MsgIcon icon,
                                    MsgButtons buttons) {
  const MsgAnswer answer = silent_ ? SilentAnswer(text, buttons, noRestart_)
                                   : person_.ShowMessage(text, title, icon, buttons);
  if (transcript_)
    transcript_->Write("messaggio \"" + title + "\": \"" + text + "\" -> " + AnswerName(answer) +
                       (silent_ ? " (risposta senza domande)" : ""));
  return answer;
}

}  // namespace tessaro
