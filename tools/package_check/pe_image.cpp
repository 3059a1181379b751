#include "pe_image.h"

#include <cstdint>

namespace tessaro::package_check {

namespace {

// Little-endian reads that answer 0 past the end, so a truncated file reads
// as one with zero fields and fails the checks after it.
uint32_t U16(const std::string& b, size_t at) {
  if (at + 2 > b.size()) return 0;
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}
uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

constexpr uint32_t kMachineI386 = 0x14C;
constexpr uint32_t kMagicPe32 = 0x10B;
constexpr uint32_t kFileDll = 0x2000;

}  // namespace

PeFacts ReadPeFacts(const std::string& b) {
  PeFacts facts;
  if (b.size() < 64 || b.compare(0, 2, "MZ") != 0) {
    facts.problem = "not a Windows program or library (no MZ header)";
    return facts;
  }
  const size_t pe = U32(b, 0x3C);
  if (pe + 24 > b.size() || b.compare(pe, 4, std::string("PE\0\0", 4)) != 0) {
    facts.problem = "not a Windows program or library (no PE header)";
    return facts;
  }
  facts.x86 = U16(b, pe + 4) == kMachineI386;
  const size_t sections = U16(b, pe + 6);
  const size_t optionalSize = U16(b, pe + 20);
  facts.dll = (U16(b, pe + 22) & kFileDll) != 0;
  const size_t optional = pe + 24;
  facts.pe32 = U16(b, optional) == kMagicPe32;
  if (!facts.pe32) return facts;

  // The export directory is data directory 0 of a PE32 optional header.
  if (U32(b, optional + 92) == 0) return facts;
  const uint32_t exportRva = U32(b, optional + 96);
  if (exportRva == 0) return facts;
  const size_t table = optional + optionalSize;
  auto offsetOf = [&](uint32_t rva) -> size_t {
    for (size_t i = 0; i < sections; ++i) {
      const size_t s = table + 40 * i;
      const uint32_t address = U32(b, s + 12), rawSize = U32(b, s + 16), raw = U32(b, s + 20);
      const uint32_t span = std::max(U32(b, s + 8), rawSize);
      if (rva >= address && rva < address + span && rva - address < rawSize)
        return raw + (rva - address);
    }
    return std::string::npos;
  };
  const size_t directory = offsetOf(exportRva);
  if (directory == std::string::npos) return facts;
  const uint32_t count = U32(b, directory + 24);
  const size_t names = offsetOf(U32(b, directory + 32));
  for (uint32_t i = 0; i < count && i < 65536 && names != std::string::npos; ++i) {
    const size_t name = offsetOf(U32(b, names + 4 * i));
    if (name == std::string::npos || name >= b.size()) break;
    const size_t end = b.find('\0', name);
    facts.exports.push_back(b.substr(name, end == std::string::npos ? end : end - name));
  }
  return facts;
}

}  // namespace tessaro::package_check
