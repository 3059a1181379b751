#pragma once
// Registry values by open key. Codes are Windows system error codes (0 = done).
#include <cstdint>
#include <string>

namespace tessaro {

using RegKey = uintptr_t;  // 0 when no key is open

namespace regtype {
constexpr uint32_t String = 1;  // REG_SZ
constexpr uint32_t ExpandString = 2;
constexpr uint32_t Binary = 3;
constexpr uint32_t Dword = 4;
}  // namespace regtype

// A value as read: for strings the text exactly as stored, its terminating
// NUL included when the stored data has one.
struct RegData {
  uint32_t type = 0;
  std::string text;
  int32_t number = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // root is a predefined key number (0x80000000 + n). On failure key is 0.
  virtual int32_t OpenKey(uint32_t root, const std::string& path, uint32_t access, RegKey& key) = 0;
  virtual int32_t QueryValue(RegKey key, const std::string& name, RegData& data) = 0;
  // Strings are stored with a terminating NUL, added when the text lacks one,
  // so that every reader of the registry finds a proper REG_SZ.
  virtual int32_t SetValue(RegKey key, const std::string& name, const RegData& data) = 0;
  virtual int32_t CloseKey(RegKey key) = 0;
};

}  // namespace tessaro
