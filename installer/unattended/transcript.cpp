#include "unattended/transcript.h"

namespace tessaro {

bool Transcript::Start() {
  open_ = files_.WriteAll(path_, "\xEF\xBB\xBF").ok();
  return open_;
}

void Transcript::Write(const std::string& event) {
  if (!open_) return;
  // A line break inside a message would start what looks like a new event.
  std::string line = clock_() + " ";
  for (char c : event) line += (c == '\r' || c == '\n') ? ' ' : c;
  files_.Append(path_, line + "\r\n");
}

std::string AnswerName(MsgAnswer answer) {
  switch (answer) {
    case MsgAnswer::Ok:
      return "OK";
    case MsgAnswer::Cancel:
      return "Annulla";
    case MsgAnswer::Yes:
      return "Sì";
    case MsgAnswer::No:
      return "No";
    case MsgAnswer::Retry:
      return "Riprova";
    case MsgAnswer::Abort:
      return "Interrompi";
    case MsgAnswer::Ignore:
      return "Ignora";
  }
  return "?";
}

}  // namespace tessaro
