#include "set_checks.h"

#include <cstring>

#include "crc32.h"
#include "set_label.h"

namespace tessaro {

namespace {

constexpr std::string_view kSignature = "KVBCRC";
constexpr char kVersion = 1;
constexpr size_t kLabelSize = 11;
// Signature, version, label, floppy, count, flags, length and three CRCs.
constexpr size_t kFixedSize = 6 + 1 + kLabelSize + 2 + 2 + 1 + 4 + 4 + 4 + 4;

void PutLE(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint32_t GetLE(std::string_view bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i)
    value |= uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
  return value;
}

size_t PieceCrcCount(int32_t floppy, int32_t count) {
  return floppy == kRecoveryFloppy ? static_cast<size_t>(count) : 1;
}

}  // namespace

uint64_t FloppyChecksSize(int32_t floppy, int32_t count) {
  return kFixedSize + 4 * PieceCrcCount(floppy, count);
}

std::string EncodeFloppyChecks(const FloppyChecks& c) {
  std::string out(kSignature);
  out.push_back(kVersion);
  out += c.label.substr(0, kLabelSize);
  out.resize(kSignature.size() + 1 + kLabelSize, ' ');
  PutLE(out, static_cast<uint32_t>(c.floppy), 2);
  PutLE(out, static_cast<uint32_t>(c.count), 2);
  out.push_back(c.hasRecoveryFloppy ? 1 : 0);
  PutLE(out, static_cast<uint32_t>(c.fileLength), 4);
  PutLE(out, c.fileCrc, 4);
  PutLE(out, c.parityCrc, 4);
  for (uint32_t crc : c.pieceCrcs) PutLE(out, crc, 4);
  PutLE(out, Crc32Of(out), 4);
  return out;
}

std::optional<FloppyChecks> DecodeFloppyChecks(std::string_view bytes) {
  if (bytes.size() < kFixedSize || bytes.substr(0, kSignature.size()) != kSignature ||
      bytes[kSignature.size()] != kVersion)
    return std::nullopt;
  FloppyChecks c;
  size_t at = kSignature.size() + 1;
  c.label = std::string(bytes.substr(at, kLabelSize));
  at += kLabelSize;
  c.floppy = static_cast<int32_t>(GetLE(bytes, at, 2));
  c.count = static_cast<int32_t>(GetLE(bytes, at + 2, 2));
  const auto flags = static_cast<unsigned char>(bytes[at + 4]);
  c.hasRecoveryFloppy = (flags & 1) != 0;
  c.fileLength = static_cast<int32_t>(GetLE(bytes, at + 5, 4));
  c.fileCrc = GetLE(bytes, at + 9, 4);
  c.parityCrc = GetLE(bytes, at + 13, 4);
  at += 17;
  if (!IsSetLabel(c.label) || c.count < 1 || c.count > 32767 || c.floppy > c.count ||
      flags > 1 || c.fileLength < 1 || bytes.size() != FloppyChecksSize(c.floppy, c.count) ||
      Crc32Of(bytes.substr(0, bytes.size() - 4)) != GetLE(bytes, bytes.size() - 4, 4))
    return std::nullopt;
  for (size_t i = 0; i < PieceCrcCount(c.floppy, c.count); ++i, at += 4)
    c.pieceCrcs.push_back(GetLE(bytes, at, 4));
  return c;
}

void AddToParity(std::string& parity, size_t offset, const char* data, size_t size) {
  char* to = parity.data() + offset;
  // Eight bytes at a time; the compiler turns the copies into plain loads.
  for (; size >= 8; to += 8, data += 8, size -= 8) {
    uint64_t a, b;
    std::memcpy(&a, to, 8);
    std::memcpy(&b, data, 8);
    a ^= b;
    std::memcpy(to, &a, 8);
  }
  for (; size > 0; ++to, ++data, --size) *to = static_cast<char>(*to ^ *data);
}

FloppyChecks ChecksOfFloppy(const SetChecks& set, const std::string& label, int32_t floppy,
                            bool hasRecoveryFloppy, int32_t fileLength) {
  FloppyChecks c;
  c.label = label;
  c.floppy = floppy;
  c.count = static_cast<int32_t>(set.pieceCrcs.size());
  c.hasRecoveryFloppy = hasRecoveryFloppy;
  c.fileLength = fileLength;
  c.fileCrc = set.fileCrc;
  if (floppy == kRecoveryFloppy) {
    c.parityCrc = Crc32Of(set.parity);
    c.pieceCrcs = set.pieceCrcs;
  } else {
    c.pieceCrcs = {set.pieceCrcs.at(static_cast<size_t>(floppy) - 1)};
  }
  return c;
}

}  // namespace tessaro
