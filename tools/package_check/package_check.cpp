#include "package_check.h"

#include <algorithm>
#include <map>
#include <set>

#include "engine/file_list.h"
#include "engine/setup_dip.h"
#include "errors.h"
#include "pe_image.h"
#include "settings/placeholders.h"
#include "settings/setup_folder.h"
#include "text.h"

namespace tessaro::package_check {

std::string FormatFinding(const Finding& f) {
  return f.file + (f.line > 0 ? ":" + std::to_string(f.line) : "") +
         (f.error ? ": error: " : ": warning: ") + f.text;
}

namespace {

constexpr const char* kTokenMark = "\xC2\xA7\xC2\xA7";  // "§§" in UTF-8
constexpr const char* kAppPathToken = "KV_APP_PATH";

// Windows compares file names without regard to case.
std::string Folded(const std::string& text) { return UpperAscii(text); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The raw lines of a file as the installer splits them (CR LF).
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  LineReader reader(bytes);
  while (!reader.AtEnd()) lines.push_back(reader.ReadLine());
  return lines;
}

// Why bytes are not text in the ANSI code page (Windows-1252), or nothing.
std::optional<std::string> NotAnsi(const std::string& bytes) {
  if (bytes.find('\0') != std::string::npos) return "holds NUL bytes: saved as UTF-16?";
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return "saved as UTF-8 (it starts with a BOM)";
  // A valid UTF-8 sequence of two or more bytes is almost never meant as
  // Windows-1252 text ("Ã¨" for "è").
  bool utf8 = false, broken = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) continue;
    const size_t more = c >= 0xF0 && c < 0xF5 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : 0;
    size_t k = 0;
    while (more && k < more && i + 1 + k < bytes.size() &&
           (static_cast<unsigned char>(bytes[i + 1 + k]) & 0xC0) == 0x80)
      ++k;
    if (more && k == more) {
      utf8 = true;
      i += more;
    } else {
      broken = true;
    }
  }
  if (utf8 && !broken) return "saved as UTF-8: accented letters would show as two characters";
  for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
    if (bytes.find(static_cast<char>(undefined)) != std::string::npos) {
      static const char* hex = "0123456789ABCDEF";
      return std::string("byte 0x") + hex[undefined >> 4] + hex[undefined & 15] +
             " has no character in the ANSI code page";
    }
  return std::nullopt;
}

class Checker {
 public:
  explicit Checker(PackageSource& package) : package_(package) {}

  std::vector<Finding> Run() {
    CheckFolder();
    CheckText("Licence.txt");
    CheckText("Welcome.txt");
    CheckSetupDip();
    CheckSetupFtc();
    CheckShortcutFiles();
    CheckSettings();
    CheckComponents();
    return std::move(findings_);
  }

 private:
  void Error(const std::string& file, int line, const std::string& text) {
    findings_.push_back({file, line, true, text});
  }
  void Warning(const std::string& file, int line, const std::string& text) {
    findings_.push_back({file, line, false, text});
  }

  // The file's bytes when the installer would find it.
  std::optional<std::string> Read(const std::string& name) {
    if (!present_.count(Folded(name))) return std::nullopt;
    return package_.Read(present_[Folded(name)]);
  }

  void CheckFolder() {
    std::map<std::string, Entry> entries;
    for (const Entry& e : package_.List("").value_or(std::vector<Entry>{}))
      entries[Folded(e.name)] = e;
    for (const char* name : kPackageFiles) {
      auto found = entries.find(Folded(name));
      if (found == entries.end() || found->second.folder)
        Error(name, 0, "missing: the installer stops at start-up");
      else if (found->second.hidden)
        Error(name, 0, "hidden or system: the installer does not see it and stops at start-up");
      else
        present_[Folded(name)] = found->second.name;
    }
    auto files = package_.List("files");
    if (!files) {
      Error("files\\", 0, "missing: the folder of the files Setup.ftc lists");
      return;
    }
    filesFolder_ = true;
    for (const Entry& e : *files)
      if (!e.folder) files_[Folded(e.name)] = e;
  }

  void CheckText(const char* name) {
    auto bytes = Read(name);
    if (!bytes) return;
    if (bytes->find_first_not_of(" \t\r\n") == std::string::npos)
      Error(name, 0, "empty: the wizard would show a blank page");
    if (auto why = NotAnsi(*bytes)) Error(name, 0, *why);
  }

  // Setup.dip: the label before each value must be as long as the value's
  // position needs, else the installer reads a shifted value.
  void CheckLabel(const std::string& line, int number, size_t start) {
    const size_t labelLength = start - 1;
    const size_t colon = line.find(':');
    if (colon != std::string::npos && colon <= labelLength + 2 && colon + 1 != labelLength) {
      Error("Setup.dip", number,
            "the label " + Quoted(line.substr(0, colon + 1)) + " is " + std::to_string(colon + 1) +
                " characters; this line needs " + std::to_string(labelLength) +
                ", so the installer reads " +
                Quoted(TrimBlanks(FromCharPosition(line, start))));
      return;
    }
    auto word = [](char c) {
      return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    if (colon == std::string::npos && line.size() > labelLength && labelLength > 0 &&
        word(line[labelLength - 1]) && word(line[labelLength]))
      Warning("Setup.dip", number,
              "the value starts in the middle of a word: the installer reads " +
                  Quoted(TrimBlanks(FromCharPosition(line, start))));
  }

  void CheckSetupDip() {
    auto bytes = Read("Setup.dip");
    if (!bytes) return;
    const std::string text = Cp1252ToUtf8(*bytes);
    const std::vector<std::string> lines = Lines(text);
    const size_t fixed = std::size(kSetupDipValueStart);
    for (size_t i = 0; i < lines.size(); ++i)
      CheckLabel(lines[i], static_cast<int>(i + 1),
                 i < fixed ? kSetupDipValueStart[i] : kSetupDipShortcutStart);
    if (lines.size() < fixed) {
      Error("Setup.dip", 0,
            std::to_string(lines.size()) + " lines: the installer needs at least " +
                std::to_string(fixed) + " and stops at start-up");
      return;
    }
    const size_t extra = lines.size() - fixed;
    if (extra / 3 > kSetupDipMaxShortcuts)
      Error("Setup.dip", static_cast<int>(fixed + 3 * kSetupDipMaxShortcuts + 1),
            "more than ten shortcut groups: the installer ignores this one and those after it");
    else if (extra % 3 != 0)
      Error("Setup.dip", static_cast<int>(lines.size() - extra % 3 + 1),
            "the last shortcut group has " + std::to_string(extra % 3) +
                " of its 3 lines: the installer stops at start-up");

    try {
      ReadSetupDip(text, "C:\\Programmi", dip_);
    } catch (const RuntimeError&) {
      // A cut group, reported above; the values before it were read.
    }
    if (dip_.AppFullName.empty()) Error("Setup.dip", 1, "AppFullName is empty");
    if (dip_.AppShortName.empty()) Error("Setup.dip", 3, "AppShortName is empty");
    if (dip_.InstallPath == "C:\\Programmi\\") Error("Setup.dip", 6, "InstallPath is empty");
    // The installer reads the leading number and ignores the rest.
    const std::string bytesText = TrimBlanks(FromCharPosition(lines[6], kSetupDipValueStart[6]));
    const size_t digits = std::min(bytesText.find_first_not_of("0123456789"), bytesText.size());
    if (digits == 0) {
      Error("Setup.dip", 7, "PackageBytes " + Quoted(bytesText) + " is not a number");
    } else if (digits > 10 || std::stoull(bytesText.substr(0, digits)) > 2147483647) {
      Error("Setup.dip", 7, "PackageBytes " + bytesText + " is beyond 2,147,483,647: the installer stops at start-up");
    } else {
      packageBytes_ = std::stoull(bytesText.substr(0, digits));
      if (digits < bytesText.size())
        Warning("Setup.dip", 7, "the installer ignores " + Quoted(bytesText.substr(digits)) +
                                    " after PackageBytes");
    }
    dipRead_ = true;
  }

  // The tokens of a line; every unknown one reported. The line with each
  // known token replaced by a plain word, for the syntax checks after it.
  std::string CheckTokens(const std::string& file, int number, const std::string& line) {
    std::string out;
    size_t at = 0;
    for (;;) {
      const size_t open = line.find(kTokenMark, at);
      if (open == std::string::npos) break;
      const size_t close = line.find(kTokenMark, open + 4);
      if (close == std::string::npos) {
        Error(file, number, "a token without its closing \xC2\xA7\xC2\xA7");
        break;
      }
      const std::string name = line.substr(open + 4, close - open - 4);
      if (!IsPlaceholderName(name))
        Error(file, number, "unknown token \xC2\xA7\xC2\xA7" + name +
                                "\xC2\xA7\xC2\xA7: the installer leaves it in the text");
      out += line.substr(at, open - at) + "X";
      at = close + 4;
    }
    return out + line.substr(at);
  }

  void CheckSetupFtc() {
    auto bytes = Read("Setup.ftc");
    if (!bytes) return;
    std::map<std::string, int> destinations;
    const std::vector<std::string> raw = Lines(*bytes);
    for (size_t i = 0; i < raw.size(); ++i) {
      const int number = static_cast<int>(i + 1);
      const std::string line = Cp1252ToUtf8(raw[i]);
      if (TrimBlanks(line).empty() || line[0] == ';') continue;  // blank lines and comments
      if (line.find(';') == std::string::npos) {
        Warning("Setup.ftc", number, "no \";\": the installer skips this line");
        continue;
      }
      if (auto why = NotAnsi(raw[i])) Error("Setup.ftc", number, *why);
      const std::string plain = CheckTokens("Setup.ftc", number, line);
      auto entry = ParseFileListLine(plain, "C:");
      if (!entry) {
        Warning("Setup.ftc", number,
                "no folder, separator and flag after the \";\": the installer skips this line");
        continue;
      }
      const char flag = line.back();
      if (flag < '0' || flag > '9')
        Error("Setup.ftc", number,
              "the flag " + Quoted(std::string(1, flag)) +
                  " is not a digit: the line must end with a separator and 0 (keep) or 1 "
                  "(replace)");
      const std::string folder = line.substr(line.find(';') + 1, line.size() - line.find(';') - 3);
      const std::string& name = entry->name;
      if (("\\" + folder + "\\").find("\\..\\") != std::string::npos)
        Error("Setup.ftc", number, "the folder " + Quoted(folder) + " has a \"..\" part");
      auto file = files_.find(Folded(name));
      if (!filesFolder_) {
        // Reported once, for the folder.
      } else if (file == files_.end()) {
        Error("Setup.ftc", number, Quoted(name) + " is not in files\\");
        listedAll_ = false;
      } else {
        listedBytes_ += file->second.size;
        named_.insert(file->first);
      }
      std::string where = Folded(folder);
      while (!where.empty() && where.back() == '\\') where.pop_back();
      const std::string destination = where + "\\" + Folded(name);
      auto [seen, fresh] = destinations.emplace(destination, number);
      if (!fresh)
        Error("Setup.ftc", number,
              "installs to the same place as line " + std::to_string(seen->second));
      // Files in the application's folder, which the shortcuts may name.
      const std::string mark = Folded(std::string(kTokenMark) + kAppPathToken + kTokenMark);
      if (where.compare(0, mark.size(), mark) == 0) {
        std::string inside = where.substr(mark.size());
        while (!inside.empty() && inside[0] == '\\') inside.erase(0, 1);
        inApplication_.insert(inside.empty() ? Folded(name) : inside + "\\" + Folded(name));
      }
    }
    ftcRead_ = true;
    for (const auto& [key, entry] : files_)
      if (!named_.count(key)) Warning("files\\" + entry.name, 0, "no Setup.ftc line installs it");
  }

  void CheckShortcutFiles() {
    if (!dipRead_ || !ftcRead_) return;
    // The total is known only when every listed file is there.
    if (packageBytes_ && filesFolder_ && listedAll_ && *packageBytes_ != listedBytes_)
      Error("Setup.dip", 7,
            "PackageBytes is " + std::to_string(*packageBytes_) +
                ", but the files Setup.ftc lists total " + std::to_string(listedBytes_) +
                " bytes: the overall bar would not end at 100");
    auto installed = [&](const std::string& file, int line, const char* what) {
      if (!file.empty() && !inApplication_.count(Folded(file)))
        Error("Setup.dip", line,
              std::string(what) + " " + Quoted(file) +
                  ": no Setup.ftc line installs it in the application's folder");
    };
    installed(dip_.MainProgram, 8, "MainProgram");
    installed(dip_.DatabaseFile, 9, "DatabaseFile");
    installed(dip_.WorkgroupFile, 10, "WorkgroupFile");
    installed(dip_.IconFile, 11, "IconFile");
    for (int i = 0; i < dip_.ShortcutCount; ++i) {
      const int first = static_cast<int>(std::size(kSetupDipValueStart)) + 3 * i + 1;
      installed(dip_.ExtraShortcuts[i].Target, first + 1, "the shortcut's target");
      installed(dip_.ExtraShortcuts[i].Icon, first + 2, "the shortcut's icon");
    }
  }

  // Settings.lrk, each line as the registry editor reads a REGEDIT4 file.
  void CheckSettings() {
    auto bytes = Read("Settings.lrk");
    if (!bytes) return;
    const std::vector<std::string> lines = Lines(Cp1252ToUtf8(*bytes));
    if (lines.empty() || TrimBlanks(lines[0]) != "REGEDIT4") {
      Error("Settings.lrk", 1, "the first line must be REGEDIT4");
      return;
    }
    bool inKey = false, continued = false;
    for (size_t i = 1; i < lines.size(); ++i) {
      const int number = static_cast<int>(i + 1);
      const std::string line = TrimBlanks(CheckTokens("Settings.lrk", number, lines[i]));
      if (continued) {
        continued = CheckHexBytes(line, number);
        continue;
      }
      if (line.empty() || line[0] == ';') continue;
      if (line[0] == '[') {
        inKey = CheckKeyLine(line, number);
      } else if (line[0] == '"' || line[0] == '@') {
        if (!inKey)
          Error("Settings.lrk", number, "a value line before any [key] line: the editor drops it");
        else
          continued = CheckValueLine(line, number);
      } else {
        Error("Settings.lrk", number, "not a [key], value or comment line: the editor drops it");
      }
    }
  }

  bool CheckKeyLine(const std::string& line, int number) {
    if (line.back() != ']') {
      Error("Settings.lrk", number, "a key line must end with \"]\"");
      return false;
    }
    std::string key = line.substr(1, line.size() - 2);
    if (!key.empty() && key[0] == '-') key.erase(0, 1);
    const std::string root = key.substr(0, key.find('\\'));
    for (const char* known : {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT",
                              "HKEY_USERS", "HKEY_CURRENT_CONFIG"})
      if (root == known) return true;
    Error("Settings.lrk", number, "unknown root key " + Quoted(root));
    return false;
  }

  // A quoted name or data from `at` (at its opening quote); the position
  // after the closing quote, or npos when malformed.
  size_t QuotedEnd(const std::string& line, size_t at, int number) {
    for (size_t i = at + 1; i < line.size(); ++i) {
      if (line[i] == '"') return i + 1;
      if (line[i] != '\\') continue;
      if (i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) {
        ++i;
      } else {
        Error("Settings.lrk", number, "a single \\ in quoted text: write \\\\");
        return std::string::npos;
      }
    }
    Error("Settings.lrk", number, "a quoted text without its closing quote");
    return std::string::npos;
  }

  // True when the value's data goes on in the next line.
  bool CheckValueLine(const std::string& line, int number) {
    size_t at = line[0] == '@' ? 1 : QuotedEnd(line, 0, number);
    if (at == std::string::npos) return false;
    while (at < line.size() && line[at] == ' ') ++at;
    if (at >= line.size() || line[at] != '=') {
      Error("Settings.lrk", number, "no \"=\" after the value's name");
      return false;
    }
    const std::string data = TrimBlanks(line.substr(at + 1));
    if (!data.empty() && data[0] == '"') {
      const size_t end = QuotedEnd(data, 0, number);
      if (end != std::string::npos && end != data.size())
        Error("Settings.lrk", number, "text after the closing quote");
      return false;
    }
    if (data == "-") return false;
    if (data.compare(0, 6, "dword:") == 0) {
      const std::string digits = data.substr(6);
      if (digits.empty() || digits.size() > 8 ||
          digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        Error("Settings.lrk", number,
              "bad dword " + Quoted(digits) + ": one to eight hexadecimal digits");
      return false;
    }
    size_t colon = data.find(':');
    if (data.compare(0, 3, "hex") == 0 && colon != std::string::npos)
      return CheckHexBytes(data.substr(colon + 1), number);
    Error("Settings.lrk", number, "unknown data " + Quoted(data));
    return false;
  }

  // "00,ff,..." optionally ending with "\" (goes on in the next line).
  bool CheckHexBytes(std::string bytes, int number) {
    bytes = TrimBlanks(bytes);
    const bool more = !bytes.empty() && bytes.back() == '\\';
    if (more) bytes.pop_back();
    size_t at = 0;
    while (at < bytes.size()) {
      const size_t comma = std::min(bytes.find(',', at), bytes.size());
      const std::string byte = TrimBlanks(bytes.substr(at, comma - at));
      if ((byte.empty() && comma < bytes.size()) || byte.size() > 2 ||
          byte.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        Error("Settings.lrk", number, "bad hex byte " + Quoted(byte));
        return false;
      }
      at = comma + 1;
    }
    return more;
  }

  void CheckComponents() {
    struct Kind {
      const char* name;
      bool dll;
      const char* entry;
    };
    // The uninstaller is a program shipped under a library's name.
    for (const Kind& kind : {Kind{"unplant.dll", false, nullptr},
                             Kind{"kv_shell.dll", true, "DllRegisterServer"},
                             Kind{"MsVBvm50.dll", true, nullptr}}) {
      auto bytes = Read(kind.name);
      if (!bytes) continue;
      const PeFacts pe = ReadPeFacts(*bytes);
      if (!pe.problem.empty()) {
        Error(kind.name, 0, pe.problem);
      } else if (!pe.x86 || !pe.pe32) {
        Error(kind.name, 0, "not a 32-bit (x86) file: the installer cannot use it");
      } else if (pe.dll != kind.dll) {
        Error(kind.name, 0, kind.dll ? "a program, not a library" : "a library, not a program");
      } else if (kind.entry &&
                 std::find(pe.exports.begin(), pe.exports.end(), kind.entry) == pe.exports.end()) {
        Error(kind.name, 0, std::string("does not export ") + kind.entry);
      }
    }
  }

  PackageSource& package_;
  std::vector<Finding> findings_;
  std::map<std::string, std::string> present_;  // folded name -> name as listed
  std::map<std::string, Entry> files_;          // files\, by folded name
  std::set<std::string> named_;                 // files\ entries a line names
  std::set<std::string> inApplication_;         // folded paths in the application's folder
  PackageValues dip_;
  std::optional<uint64_t> packageBytes_;
  uint64_t listedBytes_ = 0;
  bool dipRead_ = false, ftcRead_ = false, filesFolder_ = false, listedAll_ = true;
};

}  // namespace

std::vector<Finding> CheckPackage(PackageSource& package) { return Checker(package).Run(); }

}  // namespace tessaro::package_check
