#pragma once
// Reading and writing single registry values by root word and key path.
// Every failure is silent: a missing key or value, an unknown root or type
// word, an unsupported value type or a denied access give an empty read and
// an unwritten value.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "seams/registry.h"

namespace tessaro {

// Empty, a text or a 32-bit number.
using RegValue = std::variant<std::monostate, std::string, int32_t>;

// Keys are opened for reading and writing alike with this access.
constexpr uint32_t kRegistryAccess = 0x3F;

// Root words ("LOCAL_MACHINE" ...) and type words ("STRING", "DWORD") to
// their numbers; exact, case-sensitive; anything else is 0.
uint32_t RegistryCode(const std::string& word);

// The text before its first NUL; the whole text when it holds none.
std::string TextBeforeNul(const std::string& text);

// Strings come back as stored, with their terminating NUL. The value is left
// empty unless the read succeeds; -1 for a type other than string and DWORD.
int32_t QueryOpenKeyValue(Registry& registry, RegKey key, const std::string& name, RegValue& value);
// Type 1 writes the value as text, type 4 as a 32-bit number (a text that is
// not a number writes nothing and gives 87); other types write nothing and
// give 0.
int32_t SetOpenKeyValue(Registry& registry, RegKey key, const std::string& name, uint32_t type,
                        const RegValue& value);

RegValue QueryRegistryValue(Registry& registry, const std::string& root, const std::string& path,
                            const std::string& name);
void SetRegistryValue(Registry& registry, const std::string& root, const std::string& path,
                      const std::string& name, const RegValue& value, const std::string& type);

// A registry text value cut at its NUL; empty when absent or not a text.
std::string RegistryText(Registry& registry, const std::string& root, const std::string& path,
                         const std::string& name);

}  // namespace tessaro
