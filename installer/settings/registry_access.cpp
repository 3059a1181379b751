#include "registry_access.h"

#include <cmath>
#include <cstdlib>

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

int32_t AsNumber(const RegValue& value) {
  if (auto* number = std::get_if<int32_t>(&value)) return *number;
  if (auto* text = std::get_if<std::string>(&value)) {
    double d = std::strtod(text->c_str(), nullptr);
    if (d >= -2147483648.0 && d <= 2147483647.0) return static_cast<int32_t>(std::nearbyint(d));
  }
  return 0;
}

}  // namespace

int32_t SetOpenKeyValue(Registry& registry, RegKey key, const std::string& name, uint32_t type,
                        const RegValue& value) {
  RegData data;
  data.type = type;
  if (type == regtype::String) {
    data.text = AsText(value);
  } else if (type == regtype::Dword) {
    data.number = AsNumber(value);
  } else {
    return 0;
  }
  return registry.SetValue(key, name, data);
}

RegValue QueryRegistryValue(Registry& registry, const std::string& root, const std::string& path,
                            const std::string& name) {
  RegKey key = 0;
  registry.OpenKey(RegistryCode(root), path, kRegistryAccess, key);
  RegValue value;
  if (QueryOpenKeyValue(registry, key, name, value) != 0) value = std::monostate{};
  registry.CloseKey(key);
  return value;
}

void SetRegistryValue(Registry& registry, const std::string& root, const std::string& path,
                      const std::string& name, const RegValue& value, const std::string& type) {
  RegKey key = 0;
  registry.OpenKey(RegistryCode(root), path, kRegistryAccess, key);
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
