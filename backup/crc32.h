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

}  // namespace tessaro
