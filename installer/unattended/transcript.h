#pragma once
// The transcript of one run of the installer, for support: UTF-8 with a BOM,
// one line per event, each beginning with the time. The file is opened once
// for the run (transcript_file_win.h says where and how) and every line is
// written through that handle and flushed, so what happened up to a crash or
// a cancel is on disk.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "installer_state.h"
#include "seams/files.h"
#include "seams/ui.h"

namespace tessaro {

class Transcript : public EventLog {
 public:
  // `file` is the transcript's file, open for writing and empty; `clock`
  // gives the moment each line begins with.
  Transcript(std::unique_ptr<OpenFile> file, std::string path, std::string (*clock)())
      : file_(std::move(file)), path_(std::move(path)), clock_(clock) {}
  // Writes the BOM and the opening line, which names the command line
  // (`arguments`); false when it cannot be written, and the transcript then
  // stays silent.
  bool Start(const std::string& arguments);
  void Write(const std::string& event) override;
  const std::string& Path() const { return path_; }

 private:
  bool WriteLine(const std::string& before, const std::string& event);

  std::unique_ptr<OpenFile> file_;
  std::string path_;
  std::string (*clock_)();
  bool open_ = false;
};

// The event of a transcript's opening line, after the time; the command line
// follows it.
inline constexpr const char* kTranscriptOpening = "avvio di Installer.exe, riga di comando: ";

// How many of a file's first bytes IsTranscript needs (fewer: the whole file).
inline constexpr size_t kTranscriptHeadSize = 256;

// Whether a file beginning with `head` is a transcript: the BOM, a time
// (digits, '-', ':', '.' and blanks) and the opening event, all on the first
// line. An empty file counts: it holds nothing to lose, and a run that
// stopped right after making its file leaves one.
bool IsTranscript(const std::string& head);

// What lies at /LOG's path, as the installer found it through a handle opened
// without following a link.
struct ExistingLogFile {
  bool reparsePoint = false;  // a junction or symbolic link itself
  bool folder = false;
  bool diskFile = true;  // a file on a disk: not a device, a pipe or a console
  uint32_t links = 1;    // the names the file has (hard links)
  std::string head;      // its first bytes
};

// Why the transcript may not be written over `existing`, found at `path`
// (Italian, with the path, for the refused command line); empty when it may:
// only a transcript of an earlier run, with no other name, is emptied.
std::string ExistingLogRefusal(const std::string& path, const ExistingLogFile& existing);

// The caption of the button an answer stands for, as the transcript names it.
std::string AnswerName(MsgAnswer answer);

}  // namespace tessaro
