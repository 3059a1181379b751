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
using TextCall = unsigned long (*)(void* context, unsigned long size, wchar_t* buffer);
std::optional<std::wstring> TextOfCall(TextCall call, void* context);
template <typename Call>
std::optional<std::wstring> TextOfCall(Call call) {
  return TextOfCall(
      [](void* context, unsigned long size, wchar_t* buffer) -> unsigned long {
        return (*static_cast<Call*>(context))(size, buffer);
      },
      &call);
}

}  // namespace tessaro
