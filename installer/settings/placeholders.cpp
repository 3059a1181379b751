#include "settings/placeholders.h"

#include <functional>
#include <iterator>

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

// ASCII letters in upper case; every other byte as it is.
char Fold(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Finds token in text from position from, folding ASCII letters only. The
// token starts with a UTF-8 lead byte, so a match always falls on a character
// boundary.
size_t FindToken(const std::string& text, const std::string& token, size_t from) {
  if (token.size() > text.size()) return std::string::npos;
  for (size_t at = from; at + token.size() <= text.size(); ++at) {
    size_t k = 0;
    while (k < token.size() && Fold(text[at + k]) == Fold(token[k])) ++k;
    if (k == token.size()) return at;
  }
  return std::string::npos;
}

struct Token {
  const char* name;  // between the two "§§"
  std::function<std::string()> value;
};

bool SameLetters(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return i == a.size() && !b[i];
}

// The tokens, in the order they are replaced: a value inserted for one entry
// is searched by the later entries only.
constexpr const char* kTokenNames[] = {
    "KV_Off_RT_Path", "KV_App_Path", "KV_Version",        "KV_SH_Name",
    "KV_WIN_SHARED_PRG", "KV_MDW",  "KV_MDE",            "KV_WIN_SYS_PATH",
    "KV_App_Name",    "KV_WIN_FONTS_PATH", "KV_WIN_PRG", "KV_WIN_PATH"};

}  // namespace

bool IsPlaceholderName(const std::string& name) {
  for (const char* known : kTokenNames)
    if (SameLetters(name, known)) return true;
  return false;
}

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

  // Each token's value, in the order of kTokenNames; computed when the token
  // turns up.
  const Token table[] = {
      {kTokenNames[0],
       [&] { return path(GetSpecialFolder(sys, csidl::ProgramFiles) + "OfficeRT"); }},
      {kTokenNames[1], [&] { return path(pkg.InstallPath); }},
      {kTokenNames[2], [&] { return pkg.AppVersion; }},
      {kTokenNames[3], [&] { return pkg.AppShortName; }},
      {kTokenNames[4], [&] { return folder(csidl::CommonFiles); }},
      {kTokenNames[5], [&] { return pkg.WorkgroupFile; }},
      {kTokenNames[6], [&] { return pkg.DatabaseFile; }},
      {kTokenNames[7], [&] { return path(GetSystemFolder(sys)); }},
      {kTokenNames[8], [&] { return pkg.AppFullName; }},
      {kTokenNames[9], [&] { return folder(csidl::Fonts); }},
      {kTokenNames[10], [&] { return folder(csidl::ProgramFiles); }},
      {kTokenNames[11], [&] { return path(GetWindowsFolder(sys)); }},
  };
  static_assert(std::size(table) == std::size(kTokenNames));

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
