// A piece file as a floppy brings it (PieceHeaderCount, DecodePiece, and the
// streaming ReadPieceFile the restore uses). Rules: a header is accepted
// exactly when it is one dimension, a count below 2^31 and a lower bound of
// 1, and then writes back the same; a piece decodes exactly when the file
// holds its count of bytes and the count again after them, and then encodes
// back to those bytes; reading the file as a piece of the decoded size
// succeeds exactly when the file is nothing more than that piece, and gives
// its bytes.
#include "fakes/fakes.h"
#include "fuzz_support.h"
#include "set_format.h"
#include "split_join.h"

using namespace tessaro;
using namespace tessaro::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = Bytes(data, size);
  const std::string header = bytes.substr(0, kPieceHeaderSize);
  const auto count = PieceHeaderCount(header);
  const uint32_t announced = LittleEndian(bytes, 2, 4);
  const bool framed = bytes.size() >= 10 && LittleEndian(bytes, 0, 2) == 1 &&
                      LittleEndian(bytes, 6, 4) == 1 && announced < 0x80000000u;
  FUZZ_CHECK(count.has_value() == framed);
  if (count) FUZZ_CHECK(*count == announced && PieceHeader(*count) == header);

  const auto piece = DecodePiece(bytes);
  const bool whole = framed && bytes.size() - 10 >= uint64_t{announced} + 4 &&
                     LittleEndian(bytes, 10 + announced, 4) == announced;
  FUZZ_CHECK(piece.has_value() == whole);
  if (!piece) return 0;
  FUZZ_CHECK(piece->Size == static_cast<int32_t>(piece->Data.size()));
  FUZZ_CHECK(EncodePiece(piece->Data) == bytes.substr(0, piece->Data.size() + kPieceOverhead));

  fakes::FakeFileSystem files;
  files.AddFile("C:\\Dati\\x.mdb.001", bytes);
  files.AddFile("C:\\Dati\\out", "");
  FileStatus status;
  std::vector<char> buffer(7);  // small, so the data cross many blocks
  PieceCheck check;
  {
    auto out = files.OpenForWriting("C:\\Dati\\out", status);
    check = ReadPieceFile(files, "C:\\Dati\\x.mdb.001", piece->Size, out.get(), buffer).check;
  }
  const bool exact = bytes.size() == piece->Data.size() + kPieceOverhead;
  FUZZ_CHECK((check == PieceCheck::Ok) == exact);
  FUZZ_CHECK(check != PieceCheck::Failed);
  if (exact) FUZZ_CHECK(files.Content("C:\\Dati\\out") == piece->Data);
  return 0;
}
