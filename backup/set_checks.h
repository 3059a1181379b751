#pragma once
// What a set carries besides its catalogue and pieces, in files that older
// versions of the program pass over (they match neither "*.gbt" nor a piece
// name):
// - on every floppy, the checksum file: the set's label, the floppy's number
//   and the count, the CRC-32 of its piece file and that of the whole data
//   file;
// - on the recovery floppy, the checksum file with the CRC-32 of every piece
//   file and of the parity, and the parity itself: the data of all pieces
//   combined by exclusive or, each padded with zeros to the longest (the
//   first). Any one piece's data is the parity combined with all the others;
//   for a set of one floppy the parity is a second copy of the data file.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

// 8.3 names, in the root of each floppy beside the piece.
inline constexpr const char* kChecksFileName = "KVBSET.CRC";
inline constexpr const char* kParityFileName = "KVBSET.PAR";

// The recovery floppy's number in its checksum file.
inline constexpr int32_t kRecoveryFloppy = 0;

struct FloppyChecks {
  std::string label;                // the set's label, "0dddd-ddddd"
  int32_t floppy = 0;               // 1 to count, or kRecoveryFloppy
  int32_t count = 0;                // floppies of the set, the recovery floppy not counted
  bool hasRecoveryFloppy = false;   // whether the set was given one
  int32_t fileLength = 0;           // of the data file
  uint32_t fileCrc = 0;             // of the data file
  uint32_t parityCrc = 0;           // of the parity file; recovery floppy only
  std::vector<uint32_t> pieceCrcs;  // of floppy k's piece file; recovery floppy: of every one
};

// Little-endian, no gaps: "KVBCRC", version 1 (1 byte), label (11), floppy
// (2), count (2), flags (1: bit 0 the recovery floppy), file length (4),
// file CRC (4), parity CRC (4), the piece CRCs (4 each: one, or count on the
// recovery floppy), and the CRC-32 of all the bytes before (4).
std::string EncodeFloppyChecks(const FloppyChecks& checks);
// Nothing unless the bytes are exactly such a file, whole and unchanged.
std::optional<FloppyChecks> DecodeFloppyChecks(std::string_view bytes);
// Bytes of the checksum file of a floppy of a set of `count` pieces.
uint64_t FloppyChecksSize(int32_t floppy, int32_t count);
// No checksum file is longer (a recovery floppy of 32,767 pieces).
inline constexpr uint64_t kLargestChecksFile = 39 + 4 * 32767;

// What cutting the data file learns of the set, in its one pass over it.
struct SetChecks {
  std::vector<uint32_t> pieceCrcs;  // of each piece file as written, framing included
  uint32_t fileCrc = 0;             // of the data file
  std::string parity;               // as long as the first piece's data
};

// Combines `size` bytes by exclusive or into `parity` from `offset` on.
void AddToParity(std::string& parity, size_t offset, const char* data, size_t size);

// The checksum file of floppy `floppy` (or of the recovery floppy) of a set
// whose checks the split made.
FloppyChecks ChecksOfFloppy(const SetChecks& set, const std::string& label, int32_t floppy,
                            bool hasRecoveryFloppy, int32_t fileLength);

}  // namespace tessaro
