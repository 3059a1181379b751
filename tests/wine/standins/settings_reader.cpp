// Stand-in for the installed application reading its settings. For every
// value of a REGEDIT4 file (UTF-8), it reads the value with the registry API
// as the application would: in the registry view of its own kind, so a 32-bit
// build on 64-bit Windows reads what lies under WOW6432Node.
//   settings_reader.exe EXPECTED.reg REPORT.txt
// REPORT gets one line per value ("ok", "manca" or "diverso", the key and the
// name, and what was read) and a last line "valori N". The exit code is the
// number of values missing or different, lines not understood included.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::wstring Wide(const std::string& utf8) {
  std::wstring out(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), int(out.size()));
  return out;
}

std::string Utf8(const std::wstring& wide) {
  std::string out(WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), int(out.size()), nullptr, nullptr);
  return out;
}

// A quoted text of the import format from `at` (on its opening quote):
// \\ and \" stand for \ and ". Moves `at` past the closing quote.
bool Quoted(const std::string& line, size_t& at, std::string& text) {
  if (at >= line.size() || line[at] != '"') return false;
  for (++at; at < line.size(); ++at) {
    if (line[at] == '"') return ++at, true;
    if (line[at] == '\\' && at + 1 < line.size()) ++at;
    text += line[at];
  }
  return false;
}

struct Key {
  HKEY root = nullptr;
  std::string name, path;
};

bool ParseKey(const std::string& line, Key& key) {
  if (line.size() < 3 || line.back() != ']') return false;
  const std::string full = line.substr(1, line.size() - 2);
  const size_t slash = full.find('\\');
  const std::string root = full.substr(0, slash);
  key.name = full;
  key.path = slash == std::string::npos ? std::string() : full.substr(slash + 1);
  if (root == "HKEY_LOCAL_MACHINE") key.root = HKEY_LOCAL_MACHINE;
  else if (root == "HKEY_CURRENT_USER") key.root = HKEY_CURRENT_USER;
  else if (root == "HKEY_CLASSES_ROOT") key.root = HKEY_CLASSES_ROOT;
  else if (root == "HKEY_USERS") key.root = HKEY_USERS;
  else return false;
  return true;
}

// What the registry holds, in the file's own spelling ("text" or dword:x).
std::string Read(const Key& key, const std::string& name, bool& found) {
  found = false;
  HKEY open = nullptr;
  if (RegOpenKeyExW(key.root, Wide(key.path).c_str(), 0, KEY_QUERY_VALUE, &open) != ERROR_SUCCESS)
    return "(chiave assente)";
  DWORD type = 0, size = 0;
  std::wstring value = Wide(name);
  std::string shown = "(valore assente)";
  if (RegQueryValueExW(open, value.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    RegQueryValueExW(open, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    found = true;
    if (type == REG_DWORD) {
      char hex[16];
      wsprintfA(hex, "%08x", *reinterpret_cast<DWORD*>(data.data()));
      shown = std::string("dword:") + hex;
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
      data.resize(wcsnlen(data.c_str(), data.size()));
      shown = "\"" + Utf8(data) + "\"";
    } else {
      shown = "(tipo " + std::to_string(type) + ")";
    }
  }
  RegCloseKey(open);
  return shown;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 100;
  std::ifstream in(argv[1], std::ios::binary);
  std::ofstream report(argv[2], std::ios::binary);
  if (!in || !report) return 101;
  int values = 0, wrong = 0;
  Key key;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line == "REGEDIT4") continue;
    if (line[0] == '[') {
      if (!ParseKey(line, key)) report << "chiave non capita " << line << "\r\n", ++wrong;
      continue;
    }
    size_t at = 0;
    std::string name, data;
    bool ok = Quoted(line, at, name) && at < line.size() && line[at++] == '=';
    if (ok && at < line.size() && line[at] == '"') {
      ok = Quoted(line, at, data) && at == line.size();
      data = "\"" + data + "\"";
    } else if (ok) {
      data = line.substr(at);
      for (char& c : data) c = char(tolower(static_cast<unsigned char>(c)));
      ok = data.rfind("dword:", 0) == 0 && data.size() == 14;
    }
    if (!ok || !key.root) {
      report << "riga non capita " << line << "\r\n";
      ++wrong;
      continue;
    }
    ++values;
    bool found = false;
    const std::string read = Read(key, name, found);
    const char* verdict = !found ? "manca" : read == data ? "ok" : "diverso";
    if (read != data) ++wrong;
    report << verdict << " [" << key.name << "] \"" << name << "\" " << read << "\r\n";
  }
  report << "valori " << values << "\r\n";
  return wrong;
}
