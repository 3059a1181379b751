#include "settings/registry_access.h"

#include <cmath>

#include "decimal.h"
#include "text.h"

namespace tessaro {

uint32_t RegistryCode(const std::string& word) {
  if (word == "CLASSES_ROOT") return 0x80000000u;
  if (word == "CURRENT_USER") return 0x80000001u;
  if (word == "LOCAL_MACHINE") return 0x80000002u;
  if (word == "USERS") return 0x80000003u;
  if (word == "CURRENT_CONFIG") return 0x80000005u;
  if (word == "STRING") return regtype::String;
  if (word == "DWORD") return regtype::Dword;
  return 0;
}

std::string TextBeforeNul(const std::string& text) { return text.substr(0, text.find('\0')); }

int32_t QueryOpenKeyValue(Registry& registry, RegKey key, const std::string& name,
                          RegValue& value) {
  // Whatever the caller's variable held, a failed read leaves it empty.
  value = std::monostate{};
  RegData data;
  int32_t code = registry.QueryValue(key, name, data);
  if (code != 0) return code;
  if (data.type == regtype::String) {
    value = data.text;
    return 0;
  }
  if (data.type == regtype::Dword) {
    value = data.number;
    return 0;
  }
  return -1;
}

namespace {

std::string AsText(const RegValue& value) {
  if (auto* text = std::get_if<std::string>(&value)) return *text;
  if (auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
  return {};
}

// A 32-bit number from the value: empty is 0, a text must hold a number and
// nothing else (blanks around it aside), rounded half to even. Anything that
// is not such a number, or does not fit, gives nothing: writing 0 in its place
// would store a value nobody asked for.
std::optional<int32_t> AsNumber(const RegValue& value) {
  if (auto* number = std::get_if<int32_t>(&value)) return *number;
  auto* text = std::get_if<std::string>(&value);
  if (!text) return 0;
  std::string trimmed = TrimBlanks(*text);
  if (trimmed.empty()) return std::nullopt;
  // Tabs and line breaks may come before the number too (as they always
  // could), but not after it.
  size_t start = 0;
  auto white = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (start < trimmed.size() && white(trimmed[start])) ++start;
  double d = 0;
  const size_t read = ReadDecimal(std::string_view(trimmed).substr(start), d);
  if (read == 0 || start + read != trimmed.size() || !std::isfinite(d)) return std::nullopt;
  double rounded = std::nearbyint(d);
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
  return static_cast<int32_t>(rounded);
}

constexpr int32_t kInvalidParameter = 87;  // ERROR_INVALID_PARAMETER

}  // namespace

int32_t SetOpenKeyValue(Registry& registry, RegKey key, const std::string& name, uint32_t type,
                        const RegValue& value) {
  RegData data;
  data.type = type;
  if (type == regtype::String) {
    data.text = AsText(value);
  } else if (type == regtype::Dword) {
    std::optional<int32_t> number = AsNumber(value);
    if (!number) return kInvalidParameter;
    data.number = *number;
  } else {
    return 0;
  }
  return registry.SetValue(key, name, data);
}

RegValue QueryRegistryValue(Registry& registry, const std::string& root, const std::string& path,
                            const std::string& name) {
  RegValue value;
  RegKey key = 0;
  // A key that does not open cannot be read; no handle to close either.
  if (registry.OpenKey(RegistryCode(root), path, kRegistryAccess, key) != 0) return value;
  QueryOpenKeyValue(registry, key, name, value);
  registry.CloseKey(key);
  return value;
}

void SetRegistryValue(Registry& registry, const std::string& root, const std::string& path,
                      const std::string& name, const RegValue& value, const std::string& type) {
  RegKey key = 0;
  if (registry.OpenKey(RegistryCode(root), path, kRegistryAccess, key) != 0) return;
  SetOpenKeyValue(registry, key, name, RegistryCode(type), value);
  registry.CloseKey(key);
}

std::string RegistryText(Registry& registry, const std::string& root, const std::string& path,
                         const std::string& name) {
  RegValue value = QueryRegistryValue(registry, root, path, name);
  auto* text = std::get_if<std::string>(&value);
  return text ? TextBeforeNul(*text) : std::string();
}

}  // namespace tessaro
