#pragma once
// Where the transcript's file lies and how it is opened. The installer runs
// elevated and its setup folder, like the user's TEMP, is a place a standard
// user can change: the file is never reached through a link, an existing file
// is written over only when it is a transcript of an earlier run, and it is
// opened once for the whole run.
#include <memory>
#include <string>

#include "seams/files.h"

namespace tessaro {

struct TranscriptFile {
  std::unique_ptr<OpenFile> file;  // open for writing and empty; null when there is none
  std::string path;
  std::string refusal;  // why /LOG's path was refused (Italian, for the command line)
};

// /LOG's file, by its full path. Created new (CREATE_NEW, so nothing that
// already has the name is followed or emptied); a file already there is
// opened without following a link (FILE_FLAG_OPEN_REPARSE_POINT) and emptied
// through that handle only if ExistingLogRefusal lets it. A path refused
// (LogPathRefusal, ExistingLogRefusal) comes back with `refusal` and its file
// untouched; a file that cannot be made or opened comes back with neither.
TranscriptFile OpenLogFile(const std::string& path);

// The transcript of a silent run that names none: a new file with a name of
// its own, Tessaro-Installer-<date>-<time>-<code>.log, in the Windows
// folder's Temp when the installer runs as LocalSystem (only administrators
// write there what they name), in the user's TEMP folder otherwise.
TranscriptFile CreateRunTranscript();

}  // namespace tessaro
