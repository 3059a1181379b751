#pragma once
// UTF-8 inside the programs, UTF-16 at the Windows call.
#include <optional>
#include <string>

namespace tessaro {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
std::string Narrow(const wchar_t* text, size_t length);

// The text of a Windows call that answers a buffer too small with the size it
// needs (terminator included), and otherwise with the length it wrote
// (GetFullPathNameW, GetTempPathW, ...): asked for twice, so that no length is
// fixed. `call(size, buffer)`; nothing when the call fails.
template <typename Call>
std::optional<std::wstring> TextOfCall(Call call) {
  const unsigned long needed = call(0ul, static_cast<wchar_t*>(nullptr));
  if (needed == 0) return std::nullopt;
  std::wstring text(needed, L'\0');
  const unsigned long length = call(needed, text.data());
  if (length == 0 || length >= needed) return std::nullopt;
  text.resize(length);
  return text;
}

}  // namespace tessaro
