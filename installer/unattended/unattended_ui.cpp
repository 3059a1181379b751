#include "unattended/unattended_ui.h"

namespace tessaro {

namespace {

MsgAnswer NoFurther(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
      return MsgAnswer::Ok;
    case MsgButtons::YesNo:
      return MsgAnswer::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
    case MsgButtons::RetryCancel:
      return MsgAnswer::Cancel;
    case MsgButtons::AbortRetryIgnore:
      return MsgAnswer::Abort;
  }
  return MsgAnswer::Cancel;
}

}  // namespace

MsgAnswer UnattendedUi::ShowMessage(const std::string& text, const std::string& title, MsgIcon icon,
                                    MsgButtons buttons) {
  return Record(text, title,
                silent_ ? NoFurther(buttons) : person_.ShowMessage(text, title, icon, buttons));
}

MsgAnswer UnattendedUi::Ask(const std::string& text, const std::string& title, MsgIcon icon,
                            MsgButtons buttons, MsgAnswer unattended) {
  return Record(text, title,
                silent_ ? unattended : person_.Ask(text, title, icon, buttons, unattended));
}

MsgAnswer UnattendedUi::Record(const std::string& text, const std::string& title,
                               MsgAnswer answer) {
  if (transcript_)
    transcript_->Write("messaggio \"" + title + "\": \"" + text + "\" -> " + AnswerName(answer) +
                       (silent_ ? " (risposta senza domande)" : ""));
  return answer;
}

}  // namespace tessaro
