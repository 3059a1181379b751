#pragma once
// What every fuzz target shares: a check that stops the run on a broken
// rule, and small readers for the fuzzer's bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// A broken rule is a finding: say which one, then abort so libFuzzer keeps
// the input.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "broken rule: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

namespace tessaro::fuzz {

inline std::string Bytes(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// The input cut at every `separator`, at most `count` parts; the last part
// keeps the rest, separators included. Missing parts are empty.
inline std::vector<std::string> Fields(std::string_view bytes, char separator, size_t count) {
  std::vector<std::string> parts;
  while (parts.size() + 1 < count) {
    const size_t at = bytes.find(separator);
    if (at == std::string_view::npos) break;
    parts.emplace_back(bytes.substr(0, at));
    bytes.remove_prefix(at + 1);
  }
  parts.emplace_back(bytes);
  parts.resize(count);
  return parts;
}

// Little-endian number of `count` bytes at `at`; 0 past the end.
inline uint32_t LittleEndian(std::string_view bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i)
    if (at + i < bytes.size())
      value |= uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
  return value;
}

// Lines as a text file holds them: each ends at CR LF, CR or LF, and a break
// at the very end does not start another line. Counted here without the
// product's line reader.
inline std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Code points of a UTF-8 text: the bytes that do not continue a character.
inline size_t CodePoints(std::string_view text) {
  size_t count = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

// The text after its first `count` code points; empty when it has fewer.
inline std::string AfterCodePoints(const std::string& text, size_t count) {
  size_t i = 0, seen = 0;
  for (; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (seen == count) break;
      ++seen;
    }
  }
  return text.substr(i);
}

inline bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace tessaro::fuzz
