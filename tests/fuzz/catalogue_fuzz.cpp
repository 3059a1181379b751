// The catalogue of a backup set as a floppy brings it (DecodeCatalogue,
// IsRestorableCatalogue). Rules: a catalogue decodes exactly when the file
// holds the record its lengths announce and the values fit together (a
// source path, a length of 0 or more, 1 to length pieces, one piece for an
// empty file); a decoded one encodes back to the bytes of its record; and a
// restorable one is numbered from 1, its pieces of the floppy size add up to
// its length, and the data file goes back to its folder and name, which make
// up the stored path again.
#include "fakes/fakes.h"
#include "fuzz_support.h"
#include "set_format.h"
#include "split_join.h"

using namespace tessaro;
using namespace tessaro::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = Bytes(data, size);
  fakes::FakePlatform platform;
  const auto catalogue = DecodeCatalogue(bytes, platform);

  // The record read here byte by byte.
  const size_t sourceLength = LittleEndian(bytes, 4, 2);
  const size_t folderLength = LittleEndian(bytes, 6 + sourceLength, 2);
  const size_t recordLength = 14 + sourceLength + folderLength;
  const auto fileLength = static_cast<int32_t>(LittleEndian(bytes, 0, 4));
  const auto pieceCount =
      static_cast<int16_t>(LittleEndian(bytes, 8 + sourceLength + folderLength, 2));
  const bool plausible = bytes.size() >= recordLength && sourceLength > 0 && fileLength >= 0 &&
                         pieceCount >= 1 &&
                         (fileLength == 0 ? pieceCount == 1 : pieceCount <= fileLength);
  FUZZ_CHECK(catalogue.has_value() == plausible);
  if (!catalogue) return 0;

  const auto encoded = EncodeCatalogue(*catalogue, platform);
  FUZZ_CHECK(encoded && *encoded == bytes.substr(0, recordLength));

  // Started for a local file: only a full local path is restorable then.
  if (!IsRestorableCatalogue(*catalogue, "C:\\Dati\\dati.mdb")) return 0;
  FUZZ_CHECK(catalogue->FirstNumber == 1);
  int64_t total = 0;
  for (int64_t k = 1; k <= catalogue->PieceCount; ++k) {
    const int64_t piece = PieceDataSize(catalogue->FileLength, k, kPieceSize);
    FUZZ_CHECK(piece >= 1 && piece <= kPieceSize);
    FUZZ_CHECK(k == catalogue->PieceCount || piece == kPieceSize);
    total += piece;
  }
  FUZZ_CHECK(total == catalogue->FileLength);

  const std::string& source = catalogue->SourcePath;
  const std::string folder = PathFolder(source);
  const std::string name = SplitAtLast(source, false, '\\');
  FUZZ_CHECK(!name.empty() && name != "." && name != "..");
  FUZZ_CHECK(folder + name == source);
  FUZZ_CHECK(folder.size() >= 3 && folder[1] == ':' && folder[2] == '\\');
  FUZZ_CHECK(folder.find("\\\\") == std::string::npos &&
             folder.find("\\.\\") == std::string::npos &&
             folder.find("\\..\\") == std::string::npos);
  return 0;
}
