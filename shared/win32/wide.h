#pragma once
// UTF-8 inside the programs, UTF-16 at the Windows call.
#include <string>

namespace tessaro {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);
std::string Narrow(const wchar_t* text, size_t length);

}  // namespace tessaro
