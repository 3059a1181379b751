#include "settings/placeholders.h"

#include <functional>

#include "path_split.h"
#include "services/special_folders.h"

namespace tessaro {

std::string EscapeBackslashes(const std::string& value) {
  std::string out;
  out.reserve(value.size() + 8);
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      out += value[i];
    } else if (i + 1 < value.size()) {
      out += "\\\\";
    }
  }
  return out;
}

namespace {

// The section sign U+00A7 in UTF-8; the package files are decoded from the
// ANSI code page, where it is the single byte 0xA7.
constexpr const char* kSection = "\xC2\xA7";
constexpr const char* kTokenMark = "\xC2\xA7\xC2\xA7";

// Finds token in text from position from, folding ASCII letters only. The
// token starts with a UTF-8 lead byte, so a match always falls on a character
// boundary.
size_t FindToken(const std::string& text, const std::string& token, size_t from) {
  auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  if (token.size() > text.size()) return std::string::npos;
  for (size_t at = from; at + token.size() <= text.size(); ++at) {
    size_t k = 0;
    while (k < token.size() && fold(text[at + k]) == fold(token[k])) ++k;
    if (k == token.size()) return at;
  }
  return std::string::npos;
}

struct Token {
  const char* name;  // between the two "§§"
  std::function<std::string()> value;
};

}  // namespace

std::string ExpandPlaceholders(InstallerContext& cx, const std::string& text, bool forRegistry) {
  // Without a section sign there is nothing to replace and nothing to look up.
  if (text.find(kSection) == std::string::npos) return text;

  Services& sys = cx.sys;
  const PackageValues& pkg = cx.pkg();
  // A path value: escaped in registry mode, else as given.
  auto path = [forRegistry](const std::string& value) {
    return forRegistry ? EscapeBackslashes(value) : value;
  };
  // A looked-up folder with its final "\": dropped in plain mode, and by the
  // escaping in registry mode.
  auto folder = [&sys, forRegistry](int32_t code) {
    std::string found = GetSpecialFolder(sys, code);
    return forRegistry ? EscapeBackslashes(found) : WithoutFinalBackslash(found);
  };

  // In this order: a value inserted for one entry is searched by the later
  // entries only. Values are computed when their token turns up.
  const Token table[] = {
      {"KV_Off_RT_Path",
       [&] { return path(GetSpecialFolder(sys, csidl::ProgramFiles) + "OfficeRT"); }},
      {"KV_App_Path", [&] { return path(pkg.InstallPath); }},
      {"KV_Version", [&] { return pkg.AppVersion; }},
      {"KV_SH_Name", [&] { return pkg.AppShortName; }},
      {"KV_WIN_SHARED_PRG", [&] { return folder(csidl::CommonFiles); }},
      {"KV_MDW", [&] { return pkg.WorkgroupFile; }},
      {"KV_MDE", [&] { return pkg.DatabaseFile; }},
      {"KV_WIN_SYS_PATH", [&] { return path(GetSystemFolder(sys)); }},
      {"KV_App_Name", [&] { return pkg.AppFullName; }},
      {"KV_WIN_FONTS_PATH", [&] { return folder(csidl::Fonts); }},
      {"KV_WIN_PRG", [&] { return folder(csidl::ProgramFiles); }},
      {"KV_WIN_PATH", [&] { return path(GetWindowsFolder(sys)); }},
  };

  std::string work = text;
  for (const Token& entry : table) {
    const std::string token = kTokenMark + std::string(entry.name) + kTokenMark;
    size_t at = FindToken(work, token, 0);
    if (at == std::string::npos) continue;
    const std::string value = entry.value();
    while (at != std::string::npos) {
      work.replace(at, token.size(), value);
      // Go on after the inserted value: a value holding its own token stays.
      at = FindToken(work, token, at + value.size());
    }
  }
  return work;
}

}  // namespace tessaro
