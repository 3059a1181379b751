#include "wide.h"

#include <windows.h>

namespace tessaro {

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string Narrow(const wchar_t* text, size_t length) {
  if (length == 0) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr,
                              nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), n, nullptr, nullptr);
  return out;
}

std::string Narrow(const std::wstring& text) { return Narrow(text.data(), text.size()); }

std::optional<std::wstring> TextOfCall(TextCall call, void* context) {
  const unsigned long needed = call(context, 0, nullptr);
  if (needed == 0) return std::nullopt;
  std::wstring text(needed, L'\0');
  const unsigned long length = call(context, needed, text.data());
  if (length == 0 || length >= needed) return std::nullopt;
  text.resize(length);
  return text;
}

}  // namespace tessaro
