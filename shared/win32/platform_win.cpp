#include "platform_win.h"

#include <windows.h>

#include "wide.h"

namespace tessaro {

bool Win32Platform::IsNT() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return false;
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

int Win32Platform::CleanBootMode() { return GetSystemMetrics(SM_CLEANBOOT); }

CalendarDate Win32Platform::Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return CalendarDate{now.wYear, now.wMonth, now.wDay};
}

std::string Win32Platform::ProgramPath() {
  std::wstring buffer(260, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) {
      buffer.resize(n);
      return Narrow(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string Win32Platform::UpperCase(const std::string& text) {
  std::wstring wide = Widen(text);
  if (!wide.empty()) CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return Narrow(wide);
}

std::string Win32Platform::LowerCase(const std::string& text) {
  std::wstring wide = Widen(text);
  if (!wide.empty()) CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return Narrow(wide);
}

std::string Win32Platform::FromAnsi(const std::string& bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), n);
  return Narrow(wide);
}

std::string Win32Platform::ToAnsi(const std::string& text) {
  std::wstring wide = Widen(text);
  if (wide.empty()) return {};
  // No best fit: a character the code page lacks becomes "?", never a
  // look-alike letter that names another file ("Ł" as "L"). A UTF-8 code
  // page takes no flags, and holds every character anyway.
  const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  int n = WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), nullptr,
                              0, nullptr, nullptr);
  std::string bytes(n, '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), bytes.data(), n,
                      nullptr, nullptr);
  return bytes;
}

std::optional<std::string> Win32Platform::LocaleValue(uint32_t type) {
  wchar_t buffer[100] = {};
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 99);
  if (n <= 0) return std::nullopt;
  return Narrow(buffer, wcsnlen(buffer, 100));
}

bool Win32Platform::SetLocaleValue(uint32_t type, const std::string& value) {
  return SetLocaleInfoW(LOCALE_USER_DEFAULT, type, Widen(value).c_str()) != 0;
}

// Posted, not sent: a hung window must not stop the installer.
void Win32Platform::BroadcastFontChange() { PostMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0); }

void Win32Platform::ExitProgram(int code) { ExitProcess(static_cast<UINT>(code)); }

}  // namespace tessaro
