#pragma once
// Cutting the data file into numbered piece files and putting it together
// again, with the path routines both need. Piece k of a file N is N.001,
// N.002 ... (at least three digits), written in the catalogue's folder.
#include <cstdint>
#include <optional>
#include <type_traits>
#include <string>
#include <vector>

#include "seams/services.h"
#include "set_checks.h"

namespace tessaro {

// Sees each block of data as it goes by: it refers to a callable (a lambda)
// without copying it, so the callable must outlive it; as an argument of the
// call that uses it, it does. Empty: nobody looks.
class BlockSink {
 public:
  BlockSink() = default;
  template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, BlockSink>>>
  BlockSink(F&& f)  // NOLINT: converts like std::function would
      : object_(const_cast<void*>(static_cast<const void*>(&f))),
        call_([](void* o, const char* data, size_t size) {
          (*static_cast<std::remove_reference_t<F>*>(o))(data, size);
        }) {}
  explicit operator bool() const { return call_ != nullptr; }
  void operator()(const char* data, size_t size) const { call_(object_, data, size); }

 private:
  void* object_ = nullptr;
  void (*call_)(void*, const char*, size_t) = nullptr;
};

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
// beside the source). The source is read a block at a time, opened so that
// no other program can write to it meanwhile; an empty file, or one of 2 GB
// or more, is refused before anything is written. Shows nothing: on failure errorText
// says why. With `checks`, the same pass over the data file also gives the
// CRC-32 of each piece file and of the data file, and the parity of the
// pieces (held in memory: one piece's worth).
bool SplitFile(Services& sys, const std::string& source, int32_t first, std::string& errorText,
               int32_t& pieceCount, int32_t pieceSize, const std::string& catalogue,
               SetChecks* checks = nullptr);

// Rebuilds the file a catalogue describes, at its stored SourcePath or at
// target, from the pieces beside the catalogue file. Every piece must be
// there at its size before anything is written; the data then go a block at
// a time into a new scratch file of its own beside the output (never one
// that was there), checked piece by piece, and
// only a complete file is moved over the output. Given the CRC-32 the data
// file had when the set was made, the rebuilt file must have it too. A
// damaged set, a full disk or a file held open by another program therefore
// leaves the old file as it was. On failure beeps, shows why (critical icon)
// and returns false; an empty catalogue name returns false at once.
bool JoinFile(Services& sys, const std::string& catalogue, bool useStoredPath,
              const std::string& target, std::optional<uint32_t> fileCrc = std::nullopt);

// What reading a piece file found.
enum class PieceCheck {
  Ok,
  Failed,   // a call failed: the status says why
  Damaged,  // the file is not a piece of that many bytes
};

struct PieceRead {
  PieceCheck check;
  FileStatus status;  // of the failing call, when Failed
};

// Reads the piece file at `path`, which must hold `size` bytes of data in the
// piece framing, a block at a time through `buffer`; the data go to `out`
// when given, and to `seen`.
PieceRead ReadPieceFile(FileSystem& files, const std::string& path, int64_t size, OpenFile* out,
                        std::vector<char>& buffer, const BlockSink& seen = {});

// The buffer the backup program streams files through.
inline constexpr size_t kStreamBlockSize = 64 * 1024;
// The join's: larger, as nothing else is held then (the split holds the
// parity), and the join moves the most data through the fewest calls.
inline constexpr size_t kJoinBlockSize = 1024 * 1024;

}  // namespace tessaro
