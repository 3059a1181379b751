#include "crc32.h"

namespace tessaro {

namespace {

// Eight tables: the first is the classic byte-at-a-time one; table k gives
// the effect of a byte followed by k zero bytes, so eight bytes are folded in
// with eight look-ups and no dependency between them.
struct Tables {
  uint32_t t[8][256];
  Tables() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
      t[0][i] = c;
    }
    for (int k = 1; k < 8; ++k)
      for (uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  }
};

// Built once, at first use, and never changed after. On the heap, for the
// program's whole life: a static object of 8 KB would be carried, zeros and
// all, in the program file.
const Tables& TheTables() {
  static const Tables* tables = new Tables();
  return *tables;
}

uint32_t Le32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

void Crc32::Update(const char* data, size_t size) {
  const auto& t = TheTables().t;
  auto p = reinterpret_cast<const unsigned char*>(data);
  uint32_t c = state_;
  for (; size >= 8; p += 8, size -= 8) {
    const uint32_t lo = Le32(p) ^ c, hi = Le32(p + 4);
    c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
        t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
  }
  for (; size > 0; ++p, --size) c = (c >> 8) ^ t[0][(c ^ *p) & 0xFF];
  state_ = c;
}

uint32_t Crc32Of(std::string_view bytes) {
  Crc32 crc;
  crc.Update(bytes);
  return crc.Value();
}

}  // namespace tessaro
