#include "unattended/transcript.h"

#include "texts.h"

namespace tessaro {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

}  // namespace

bool Transcript::Start(const std::string& arguments) {
  open_ = file_ != nullptr;
  // The BOM and the opening line in one write: a file of ours is recognised
  // by them (IsTranscript).
  if (open_) open_ = WriteLine(kBom, kTranscriptOpening + arguments);
  return open_;
}

void Transcript::Write(const std::string& event) {
  if (open_) WriteLine("", event);
}

bool Transcript::WriteLine(const std::string& before, const std::string& event) {
  // A line break inside a message would start what looks like a new event.
  std::string line = before + clock_() + " ";
  for (char c : event) line += (c == '\r' || c == '\n') ? ' ' : c;
  line += "\r\n";
  const bool written = file_->Write(line.data(), line.size()).ok();
  file_->Flush();  // on the disk before the run goes on, in case it crashes
  return written;
}

bool IsTranscript(const std::string& head) {
  if (head.empty()) return true;
  if (head.compare(0, 3, kBom) != 0) return false;
  const std::string firstLine = head.substr(3, head.find('\n') - 3);
  const size_t opening = firstLine.find(std::string(" ") + kTranscriptOpening);
  if (opening == std::string::npos || opening == 0) return false;
  for (size_t i = 0; i < opening; ++i) {
    const char c = firstLine[i];
    if (!((c >= '0' && c <= '9') || c == '-' || c == ':' || c == '.' || c == ' ')) return false;
  }
  return true;
}

std::string ExistingLogRefusal(const std::string& path, const ExistingLogFile& existing) {
  if (existing.reparsePoint || existing.links > 1) return texts::kLogIsLink + path;
  if (!existing.diskFile) return texts::kLogNotAFile + path;
  if (existing.folder || !IsTranscript(existing.head)) return texts::kLogNotTranscript + path;
  return {};
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
