// A floppy's checksum file as the floppy brings it (DecodeFloppyChecks), as
// it is and with its last four bytes made the right CRC-32 of the rest, so
// that the fuzzer gets past the checksum. Rules: it decodes exactly when it
// is "KVBCRC", version 1, a set label, a count of 1 to 32,767, a floppy
// number up to the count, flags 0 or 1, a length of 1 or more, exactly one
// checksum per piece it describes (all of them on the recovery floppy,
// number 0) and the right CRC at the end; a decoded one encodes back to the
// same bytes.
#include "crc32.h"
#include "fuzz_support.h"
#include "set_checks.h"
#include "set_label.h"

using namespace tessaro;
using namespace tessaro::fuzz;

namespace {

void Check(const std::string& bytes) {
  const auto checks = DecodeFloppyChecks(bytes);
  const uint32_t floppy = LittleEndian(bytes, 18, 2), count = LittleEndian(bytes, 20, 2);
  const uint64_t size = 39 + 4 * uint64_t{floppy == 0 ? count : 1};
  const bool valid = bytes.size() >= 39 && bytes.compare(0, 7, std::string("KVBCRC\1", 7)) == 0 &&
                     IsSetLabel(bytes.substr(7, 11)) && count >= 1 && count <= 32767 &&
                     floppy <= count && static_cast<uint8_t>(bytes[22]) <= 1 &&
                     static_cast<int32_t>(LittleEndian(bytes, 23, 4)) >= 1 && bytes.size() == size &&
                     Crc32Of(std::string_view(bytes).substr(0, bytes.size() - 4)) ==
                         LittleEndian(bytes, bytes.size() - 4, 4);
  FUZZ_CHECK(checks.has_value() == valid);
  if (checks) FUZZ_CHECK(EncodeFloppyChecks(*checks) == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes = Bytes(data, size);
  Check(bytes);
  if (bytes.size() >= 4) {
    const uint32_t crc = Crc32Of(std::string_view(bytes).substr(0, bytes.size() - 4));
    for (int i = 0; i < 4; ++i) bytes[bytes.size() - 4 + i] = static_cast<char>(crc >> (8 * i));
    Check(bytes);
  }
  return 0;
}
