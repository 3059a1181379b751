#pragma once
// The transcript of one run of the installer, for support: UTF-8 with a BOM,
// one line per event, each beginning with the time. Every line is appended
// on its own, so what happened up to a crash or a cancel is on disk.
#include <string>

#include "installer_state.h"
#include "seams/files.h"
#include "seams/ui.h"

namespace tessaro {

class Transcript : public EventLog {
 public:
  // `clock` gives the moment each line begins with.
  Transcript(FileSystem& files, std::string path, std::string (*clock)())
      : files_(files), path_(std::move(path)), clock_(clock) {}
  // Creates (or empties) the file; false when it cannot be written, and the
  // transcript then stays silent.
  bool Start();
  void Write(const std::string& event) override;
  const std::string& Path() const { return path_; }

 private:
  FileSystem& files_;
  std::string path_;
  std::string (*clock_)();
  bool open_ = false;
};

// The caption of the button an answer stands for, as the transcript names it.
std::string AnswerName(MsgAnswer answer);

}  // namespace tessaro
