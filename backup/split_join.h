#pragma once
// Cutting the data file into numbered piece files and putting it together
// again, with the path routines both need. Piece k of a file N is N.001,
// N.002 ... (at least three digits), written in the catalogue's folder.
#include <cstdint>
#include <string>

#include "seams/services.h"

namespace tessaro {

// The path with a "\" added when it lacks one, cut at every "\": all parts
// but the last, each with its "\". "C:\Dati\x.mdb" gives "C:\Dati\", a path
// ending in "\" its parent folder, a bare name an empty text.
std::string PathFolder(const std::string& path);
// The last part after the same preparation: "x.mdb" for "C:\Dati\x.mdb".
std::string PathLastPart(const std::string& path);
// The text before (or after) the last separator; empty when there is none.
std::string SplitAtLast(const std::string& text, bool before, char separator);

// Whether the length of the file can be read (false for a missing file, a
// folder or a drive that is not ready).
bool FileExists(FileSystem& files, const std::string& path);

// Cuts source into pieces of pieceSize bytes (the last holds the rest),
// numbered from first, written beside the catalogue, and writes the
// catalogue (source + ".tpl" when catalogue is empty; the pieces then go
// beside the source). Shows nothing: on failure errorText says why.
bool SplitFile(Services& sys, const std::string& source, int32_t first, std::string& errorText,
               int32_t& pieceCount, int32_t pieceSize, const std::string& catalogue);

// Rebuilds the file a catalogue describes, at its stored SourcePath or at
// target. Every piece is read and checked against the catalogue before the
// output is touched, and the output is written beside it under a scratch
// name and then moved over it, so a damaged set or a full disk leaves the old
// file as it was. On failure beeps, shows why (critical icon) and returns
// false; an empty catalogue name returns false at once.
bool JoinFile(Services& sys, const std::string& catalogue, bool useStoredPath,
              const std::string& target);

}  // namespace tessaro
