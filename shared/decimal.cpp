#include "decimal.h"

#include <cstdint>
#include <cstring>
#include <iterator>

namespace tessaro {

namespace {

// Every double is decided by its first 768 significant digits (the longest
// halfway point between two doubles has 767); later digits only tell whether
// something non-zero follows, which one more digit 1 stands for.
constexpr size_t kMaxDigits = 800;

// A non-negative whole number in base 2^32, lowest limb first, with no zero
// limbs on top (zero is no limbs at all). The largest ever needed is 10^1125
// shifted left by 63 bits, under 3,800 bits: see Nearest.
struct Big {
  uint32_t limb[128];
  size_t size = 0;
};

void MultiplyAdd(Big& n, uint32_t factor, uint32_t add) {
  uint64_t carry = add;
  for (size_t i = 0; i < n.size; ++i) {
    carry += static_cast<uint64_t>(n.limb[i]) * factor;
    n.limb[i] = static_cast<uint32_t>(carry);
    carry >>= 32;
  }
  if (carry && n.size < std::size(n.limb)) n.limb[n.size++] = static_cast<uint32_t>(carry);
}

void MultiplyByPowerOfTen(Big& n, int64_t k) {
  for (; k >= 9; k -= 9) MultiplyAdd(n, 1000000000u, 0);
  uint32_t rest = 1;
  while (k-- > 0) rest *= 10;
  MultiplyAdd(n, rest, 0);
}

int BitLength(const Big& n) {
  if (!n.size) return 0;
  int bits = 32 * static_cast<int>(n.size - 1);
  for (uint32_t top = n.limb[n.size - 1]; top; top >>= 1) ++bits;
  return bits;
}

bool Bit(const Big& n, int i) { return (n.limb[i / 32] >> (i % 32)) & 1; }

void ShiftLeft(Big& n, int bits) {
  const size_t limbs = static_cast<size_t>(bits / 32);
  if (n.size + limbs > std::size(n.limb)) return;  // never: see Big
  std::memmove(n.limb + limbs, n.limb, n.size * sizeof n.limb[0]);
  std::memset(n.limb, 0, limbs * sizeof n.limb[0]);
  n.size += limbs;
  if (bits % 32) MultiplyAdd(n, 1u << (bits % 32), 0);
}

void ShiftRightOne(Big& n) {
  for (size_t i = 0; i < n.size; ++i)
    n.limb[i] = (n.limb[i] >> 1) | (i + 1 < n.size ? n.limb[i + 1] << 31 : 0u);
  if (n.size && n.limb[n.size - 1] == 0) --n.size;
}

bool AtLeast(const Big& a, const Big& b) {
  if (a.size != b.size) return a.size > b.size;
  for (size_t i = a.size; i-- > 0;)
    if (a.limb[i] != b.limb[i]) return a.limb[i] > b.limb[i];
  return true;
}

void Subtract(Big& a, const Big& b) {  // a >= b
  uint32_t borrow = 0;
  for (size_t i = 0; i < a.size; ++i) {
    const uint64_t d = static_cast<uint64_t>(a.limb[i]) - (i < b.size ? b.limb[i] : 0u) - borrow;
    a.limb[i] = static_cast<uint32_t>(d);
    borrow = static_cast<uint32_t>(d >> 63);
  }
  while (a.size && a.limb[a.size - 1] == 0) --a.size;
}

// The double nearest to (m + a fraction, non-zero when `sticky`) x 2^b, for
// m not zero and of 63 bits or more when `sticky`.
double Compose(bool negative, uint64_t m, int b, bool sticky) {
  while (!(m >> 63)) m <<= 1, --b;      // the bits that come in lie far below those kept
  int e = b + 63;                       // the value is 1.f x 2^e
  uint64_t bits = 0x7FF0000000000000u;  // infinity
  if (e <= 1023) {
    const int drop = e >= -1022 ? 11 : 11 + (-1022 - e);
    uint64_t kept = 0;
    if (drop <= 64) {
      kept = drop == 64 ? 0 : m >> drop;
      const uint64_t rest = drop == 64 ? m : m & ((uint64_t{1} << drop) - 1);
      const uint64_t half = uint64_t{1} << (drop - 1);
      if (rest > half || (rest == half && (sticky || (kept & 1)))) ++kept;
    }
    if (e < -1022) {
      bits = kept;  // a subnormal; rounded up to 2^52 it is the smallest normal
    } else {
      if (kept >> 53) kept >>= 1, ++e;
      if (e <= 1023) bits = static_cast<uint64_t>(e + 1023) << 52 | (kept & 0xFFFFFFFFFFFFFu);
    }
  }
  if (negative) bits |= uint64_t{1} << 63;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The double nearest to digits x 10^exponent; `digits` has no leading zero.
double Nearest(bool negative, std::string_view digits, int64_t exponent) {
  const int64_t magnitude = static_cast<int64_t>(digits.size()) + exponent;
  // Below 10^-325 a number is nearer to 0 than to the smallest subnormal;
  // from 10^310 on it is past the largest double.
  if (digits.empty() || magnitude < -324) return negative ? -0.0 : 0.0;
  if (magnitude > 310) return Compose(negative, 1, 1024, false);

  Big n;
  for (size_t i = 0; i < digits.size(); i += 9) {
    uint32_t chunk = 0, scale = 1;
    for (size_t j = i; j < digits.size() && j < i + 9; ++j) {
      chunk = chunk * 10 + static_cast<uint32_t>(digits[j] - '0');
      scale *= 10;
    }
    MultiplyAdd(n, scale, chunk);
  }
  uint64_t m = 0;
  bool sticky = false;
  int b = 0;
  if (exponent >= 0) {
    MultiplyByPowerOfTen(n, exponent);
    const int length = BitLength(n);
    b = length > 64 ? length - 64 : 0;
    for (int i = length - 1; i >= b; --i) m = m << 1 | Bit(n, i);
    for (int i = 0; i < b && !sticky; ++i) sticky = Bit(n, i);
  } else {
    // n / 10^-exponent, as a quotient of 63 or 64 bits and a remainder.
    Big d;
    MultiplyAdd(d, 1, 1);
    MultiplyByPowerOfTen(d, -exponent);
    b = BitLength(n) - BitLength(d) - 63;
    if (b < 0) ShiftLeft(n, -b);
    if (b > 0) ShiftLeft(d, b);
    ShiftLeft(d, 63);
    for (int i = 63; i >= 0; --i, ShiftRightOne(d))
      if (AtLeast(n, d)) Subtract(n, d), m |= uint64_t{1} << i;
    sticky = n.size != 0;
  }
  return Compose(negative, m, b, sticky);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

size_t ReadDecimal(std::string_view text, double& value) {
  size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  char digits[kMaxDigits + 1];  // the significant digits, leading zeros left out
  size_t count = 0;
  int64_t exponent = 0;  // the number is digits x 10^exponent
  bool seenDigit = false, seenPoint = false, droppedNonZero = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !seenPoint) {
      seenPoint = true;
      continue;
    }
    if (!IsDigit(c)) break;
    seenDigit = true;
    if (count < kMaxDigits) {
      if (c != '0' || count) digits[count++] = c;
      if (seenPoint) --exponent;
    } else {
      droppedNonZero = droppedNonZero || c != '0';
      if (!seenPoint) ++exponent;
    }
  }
  if (!seenDigit) {
    value = 0;
    return 0;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    const bool below = j < text.size() && text[j] == '-';
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      int64_t e = 0;
      for (; j < text.size() && IsDigit(text[j]); ++j)
        if (e < 100000000) e = e * 10 + (text[j] - '0');  // far past any double
      exponent += below ? -e : e;
      i = j;
    }
  }
  if (droppedNonZero) digits[count++] = '1', --exponent;
  value = Nearest(negative, std::string_view(digits, count), exponent);
  return i;
}

}  // namespace tessaro
