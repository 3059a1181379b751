#include "crc32.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace tessaro {

namespace {

// The classic table: the effect of each byte value on the register.
struct Table {
  uint32_t t[256];
  Table() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
      t[i] = c;
    }
  }
};

// Built once, at first use, and never changed after. On the heap, for the
// program's whole life: a static object would be carried, zeros and all, in
// the program file.
const Table& TheTable() {
  static const Table* table = new Table();
  return *table;
}

#if defined(__i386__) || defined(__x86_64__)
#define TESSARO_CRC_CLMUL 1

// Carry-less multiplication (PCLMULQDQ, in every x86 processor since 2010)
// folds 16 bytes at a time, several times faster than the tables: a
// register, 128 bits wide, is moved on by multiplying its halves by two
// powers of x modulo the polynomial (bit-reflected, times x), and the next
// 16 bytes are added; at the end the register is reduced to 32 bits, the
// last step by Barrett reduction. `size` is 16 or more, a multiple of 16;
// returns the new register.
__attribute__((target("pclmul,sse4.1"))) __m128i Fold(__m128i x, __m128i by, __m128i next) {
  return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, by, 0x00), _mm_clmulepi64_si128(x, by, 0x11)),
                       next);
}

__attribute__((target("pclmul,sse4.1"))) __m128i Load(const unsigned char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

__attribute__((target("pclmul,sse4.1"))) uint32_t FoldClmul(uint32_t crc, const unsigned char* p,
                                                            size_t size) {
  const __m128i fold512 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);  // x^(512-32), x^(512+32)
  const __m128i fold128 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);  // x^(128-32), x^(128+32)
  const __m128i fold64 = _mm_set_epi64x(0, 0x163cd6124);              // x^64
  const __m128i barrett = _mm_set_epi64x(0x1f7011641, 0x1db710641);   // mu, polynomial
  const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);
  __m128i x = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
  p += 16, size -= 16;
  if (size >= 112) {
    // Four registers, 16 bytes apart and each moved 64 bytes on at a step,
    // so that one register's multiplications do not wait for another's;
    // then folded into one.
    __m128i x1 = Load(p), x2 = Load(p + 16), x3 = Load(p + 32);
    for (p += 48, size -= 48; size >= 64; p += 64, size -= 64) {
      x = Fold(x, fold512, Load(p));
      x1 = Fold(x1, fold512, Load(p + 16));
      x2 = Fold(x2, fold512, Load(p + 32));
      x3 = Fold(x3, fold512, Load(p + 48));
    }
    x = Fold(Fold(Fold(x, fold128, x1), fold128, x2), fold128, x3);
  }
  for (; size >= 16; p += 16, size -= 16) x = Fold(x, fold128, Load(p));
  // 128 bits to 64, then to 32 bits and a remainder.
  x = _mm_xor_si128(_mm_clmulepi64_si128(x, fold128, 0x10), _mm_srli_si128(x, 8));
  x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), fold64, 0x00), _mm_srli_si128(x, 4));
  __m128i q = _mm_clmulepi64_si128(_mm_and_si128(x, low32), barrett, 0x10);
  q = _mm_clmulepi64_si128(_mm_and_si128(q, low32), barrett, 0x00);
  return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x, q), 1));
}

// CPUID leaf 1: ECX bit 1 is PCLMULQDQ, bit 19 SSE4.1.
bool HasClmul() {
  static const bool has = [] {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (ecx & (1u << 1)) && (ecx & (1u << 19));
  }();
  return has;
}
#endif

}  // namespace

void Crc32::Update(const char* data, size_t size) {
  auto p = reinterpret_cast<const unsigned char*>(data);
  uint32_t c = state_;
#ifdef TESSARO_CRC_CLMUL
  if (size >= 64 && HasClmul()) {
    const size_t whole = size & ~size_t{15};
    c = FoldClmul(c, p, whole);
    p += whole;
    size -= whole;
  }
#endif
  // What is left, and everything on a processor without carry-less
  // multiplication: a byte at a time.
  const auto& t = TheTable().t;
  for (; size > 0; ++p, --size) c = (c >> 8) ^ t[(c ^ *p) & 0xFF];
  state_ = c;
}

uint32_t Crc32Of(std::string_view bytes) {
  Crc32 crc;
  crc.Update(bytes);
  return crc.Value();
}

namespace {

// Polynomials over GF(2) of degree below 32, in the CRC's reflected order:
// the top bit is x^0, the lowest x^31.
constexpr uint32_t kOne = 0x80000000u;

// a(x) * b(x) modulo the CRC's polynomial: for each term of a, from x^0 up,
// add the matching multiple of b, which doubles (times x) at every step.
uint32_t MultiplyModP(uint32_t a, uint32_t b) {
  uint32_t product = 0;
  for (uint32_t term = kOne; term != 0 && a != 0; term >>= 1) {
    if (a & term) {
      product ^= b;
      a ^= term;
    }
    b = (b & 1) ? (b >> 1) ^ 0xEDB88320u : b >> 1;
  }
  return product;
}

// x^(8n) modulo the polynomial: the shift that n zero bytes give a CRC.
uint32_t ShiftOfBytes(uint64_t n) {
  uint32_t result = kOne;
  uint32_t square = MultiplyModP(kOne >> 8, kOne);  // x^8: one byte
  for (; n != 0; n >>= 1) {
    if (n & 1) result = MultiplyModP(result, square);
    square = MultiplyModP(square, square);
  }
  return result;
}

}  // namespace

uint32_t Crc32Combine(uint32_t crcA, uint32_t crcB, uint64_t lengthB) {
  // The starting ones and the final inversion cancel out between the two:
  // A's register moves on by B's length as through zeros, then B's adds in.
  return MultiplyModP(crcA, ShiftOfBytes(lengthB)) ^ crcB;
}

}  // namespace tessaro
