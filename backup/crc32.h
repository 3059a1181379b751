#pragma once
// CRC-32 as ZIP computes it (reflected polynomial 0xEDB88320, starting from
// all ones, the result inverted), fed a block at a time.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessaro {

class Crc32 {
 public:
  void Update(const char* data, size_t size);
  void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
  // The checksum of everything given so far.
  uint32_t Value() const { return ~state_; }

 private:
  uint32_t state_ = 0xFFFFFFFFu;
};

uint32_t Crc32Of(std::string_view bytes);

// The CRC-32 of A followed by B, from the CRC-32 of each and B's length, so
// that one pass over the data can serve a checksum of a part and of the whole.
uint32_t Crc32Combine(uint32_t crcA, uint32_t crcB, uint64_t lengthB);

}  // namespace tessaro
