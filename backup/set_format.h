#pragma once
// The files of a backup set: the catalogue, which says how to put the data
// file together again, and the piece files, one per floppy. Both layouts are
// little-endian with no gaps; they are read and written byte by byte so the
// format does not depend on the compiler's struct layout.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "seams/platform.h"

namespace tessaro {

// Bytes of data per piece of a floppy set: a full piece file (14 bytes more)
// and a catalogue fit together on one 1.44 MB floppy.
inline constexpr int32_t kPieceSize = 1439865;
// Bytes a piece file adds to its data: dimensions, element count, lower bound
// before the data, the size after it.
inline constexpr int32_t kPieceOverhead = 14;

struct BackupCatalogue {
  int32_t FileLength = 0;   // length of the data file in bytes
  std::string SourcePath;   // full path of the data file (UTF-8)
  std::string PieceFolder;  // folder of the piece files, with a final "\"
  int16_t PieceCount = 0;
  int32_t FirstNumber = 1;  // number of the first piece
};

// The content of one piece file; Size is the number of bytes in Data.
struct PieceRecord {
  std::string Data;
  int32_t Size = 0;
};

// The largest catalogue file a set can have: two texts of at most 65,535 bytes.
inline constexpr uint64_t kLargestCatalogueSize = 14 + 2 * 0xFFFF;

// Catalogue file: FileLength (4), length of SourcePath (2), SourcePath,
// length of PieceFolder (2), PieceFolder, PieceCount (2), FirstNumber (4).
// The texts are stored in the ANSI code page without terminator. Nothing when
// a text cannot be stored: longer than 65,535 bytes, or holding characters
// the code page lacks (they would come back as other characters and name
// another file).
std::optional<std::string> EncodeCatalogue(const BackupCatalogue& catalogue, Platform& platform);

// Nothing for a file too short for the lengths it states, or whose values no
// set can have (no pieces, a negative length, more pieces than bytes, an
// empty source path). Bytes past the record are ignored.
std::optional<BackupCatalogue> DecodeCatalogue(std::string_view bytes, Platform& platform);

// Piece file: 1 (2 bytes, dimensions), n (4), 1 (4, lower bound), the n
// bytes, n (4): n + 14 bytes in all.
std::string EncodePiece(std::string_view data);

// Nothing unless the header is the one EncodePiece writes, the file holds the
// n bytes it announces and the trailing size equals n.
std::optional<PieceRecord> DecodePiece(std::string_view bytes);

// The framing of a piece of n bytes, for writing and reading it a block at a
// time: the 10 bytes before the data and the 4 after.
inline constexpr size_t kPieceHeaderSize = 10;
inline constexpr size_t kPieceTrailerSize = 4;
std::string PieceHeader(uint32_t n);
std::string PieceTrailer(uint32_t n);
// The count n a piece header announces; nothing for bytes no piece begins with.
std::optional<uint32_t> PieceHeaderCount(std::string_view header);

// Whether a catalogue read from a floppy describes a set this program makes,
// so that restoring it can only write where a backup was taken: a length of
// 1 to 2,147,483,647 bytes, as many pieces of kPieceSize as that length
// needs, numbered from 1, and a source IsRestorableSource accepts for a
// program started for `startedFor`.
bool IsRestorableCatalogue(const BackupCatalogue& catalogue, const std::string& startedFor);
// A full local path: drive letter, ":\", a file name; no empty, "." or ".."
// part, no wildcard or other character a file name cannot hold.
bool IsFullLocalPath(const std::string& path);
// A full path on a network share: "\\server\share\", then folders and a
// file name, with the same rules for each part.
bool IsNetworkPath(const std::string& path);
// Where a restore may write back a set's data file: any full local path, and
// a network path only in a program started for that very file (letters
// compared regardless of case), since the set alone cannot tell one share
// from another. The backup refuses any other path before writing anything,
// so it never makes a set its own restore would refuse.
bool IsRestorableSource(const std::string& source, const std::string& startedFor);

// Bytes of data in piece k (from 1) of a set of pieces of pieceSize bytes.
int64_t PieceDataSize(int64_t fileLength, int64_t k, int64_t pieceSize);

// A piece number with at least three digits: 1 gives "001", 1000 "1000".
std::string PieceNumberText(int64_t number);

// Pieces needed for a file: the length divided by the piece size, rounded
// up. An empty file still gets one (empty) piece, so its set has a first
// floppy to carry the catalogue. pieceSize must be positive.
int64_t PiecesFor(int64_t length, int64_t pieceSize);

}  // namespace tessaro
