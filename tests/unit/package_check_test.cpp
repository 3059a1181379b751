// package-check over the sample package and over copies of it, each broken
// by one fault.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "package_check.h"

namespace tessaro::package_check {
namespace {

// A minimal 32-bit PE image: one section holding an export directory with
// the given names.
std::string PeImage(bool dll, std::vector<std::string> exports, uint16_t machine = 0x14C,
                    uint16_t magic = 0x10B) {
  std::string b(0x400, '\0');
  auto put16 = [&](size_t at, uint32_t v) { b[at] = char(v), b[at + 1] = char(v >> 8); };
  auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
  b[0] = 'M', b[1] = 'Z';
  put32(0x3C, 0x40);
  b.replace(0x40, 4, std::string("PE\0\0", 4));
  put16(0x44, machine);
  put16(0x46, 1);                       // one section
  put16(0x54, 224);                     // optional header size
  put16(0x56, dll ? 0x2102 : 0x0102);   // executable, 32-bit, DLL
  put16(0x58, magic);
  put32(0x58 + 92, 16);                 // data directories
  put32(0x58 + 96, 0x1000);             // export table RVA
  const size_t section = 0x58 + 224;
  put32(section + 8, 0x200), put32(section + 12, 0x1000);
  put32(section + 16, 0x200), put32(section + 20, 0x200);
  put32(0x200 + 24, uint32_t(exports.size()));
  put32(0x200 + 32, 0x1000 + 40);  // the names' RVAs follow the directory
  size_t text = 40 + 4 * exports.size();
  for (size_t i = 0; i < exports.size(); ++i) {
    put32(0x200 + 40 + 4 * i, uint32_t(0x1000 + text));
    b.replace(0x200 + text, exports[i].size(), exports[i]);
    text += exports[i].size() + 1;
  }
  return b;
}

// The package in memory: "name" in the setup folder, "files\\name" in files\.
struct MemoryPackage : PackageSource {
  std::map<std::string, std::string> files;
  std::set<std::string> hidden;
  bool filesFolder = true;

  std::optional<std::vector<Entry>> List(const std::string& folder) override {
    if (!folder.empty() && !filesFolder) return std::nullopt;
    std::vector<Entry> entries;
    if (folder.empty() && filesFolder) entries.push_back({"files", true, false, 0});
    const std::string prefix = folder.empty() ? "" : folder + "\\";
    for (const auto& [path, bytes] : files) {
      if (path.compare(0, prefix.size(), prefix) != 0) continue;
      const std::string name = path.substr(prefix.size());
      if (name.find('\\') == std::string::npos)
        entries.push_back({name, false, hidden.count(path) > 0, bytes.size()});
    }
    return entries;
  }
  std::optional<std::string> Read(const std::string& path) override {
    auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }

  // Line `number` (1-based) of a text file replaced, or inserted before it.
  void SetLine(const std::string& file, size_t number, const std::string& line,
               bool insert = false) {
    std::vector<std::string> lines;
    std::istringstream in(files[file]);
    for (std::string l; std::getline(in, l);) lines.push_back(l.substr(0, l.find('\r')));
    if (insert)
      lines.insert(lines.begin() + long(number - 1), line);
    else
      lines.at(number - 1) = line;
    files[file].clear();
    for (const std::string& l : lines) files[file] += l + "\r\n";
  }
};

MemoryPackage SamplePackage() {
  MemoryPackage package;
  namespace fs = std::filesystem;
  const fs::path root = TESSARO_SAMPLE_PACKAGE;
  for (const auto& item : fs::recursive_directory_iterator(root)) {
    if (item.is_directory()) continue;
    std::ifstream in(item.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const fs::path relative = fs::relative(item.path(), root);
    std::string name = relative.parent_path().empty()
                           ? relative.string()
                           : relative.parent_path().string() + "\\" + relative.filename().string();
    package.files[name] = bytes.str();
  }
  // The components, which the build stages beside the sample's text files.
  package.files["unplant.dll"] = PeImage(false, {});
  package.files["kv_shell.dll"] = PeImage(true, {"DllCanUnloadNow", "DllRegisterServer"});
  package.files["MsVBvm50.dll"] = PeImage(true, {});
  return package;
}

// "file:line:error" or "file:line:warning" of each finding.
std::multiset<std::string> Places(const std::vector<Finding>& findings) {
  std::multiset<std::string> places;
  for (const Finding& f : findings) {
    EXPECT_FALSE(f.text.empty());
    places.insert(f.file + ":" + std::to_string(f.line) + (f.error ? ":error" : ":warning"));
  }
  return places;
}

TEST(PackageCheck, TheSamplePackageWithItsComponentsIsClean) {
  MemoryPackage package = SamplePackage();
  for (const Finding& f : CheckPackage(package)) ADD_FAILURE() << FormatFinding(f);
}

TEST(PackageCheck, EachFaultIsReportedOnceAtItsFileAndLine) {
  const std::string s = "\xA7\xA7";  // "§§" in the package's code page
  struct Case {
    const char* fault;
    std::function<void(MemoryPackage&)> make;
    std::multiset<std::string> expected;
  };
  const Case cases[] = {
      {"a package file missing", [](auto& p) { p.files.erase("Welcome.txt"); },
       {"Welcome.txt:0:error"}},
      {"a package file hidden", [](auto& p) { p.hidden.insert("Setup.ftc"); },
       {"Setup.ftc:0:error"}},
      {"files\\ missing", [](auto& p) { p.filesFolder = false; }, {"files\\:0:error"}},
      {"Setup.dip too short",
       [](auto& p) {
         std::string& dip = p.files["Setup.dip"];
         size_t end = 0;
         for (int line = 0; line < 8; ++line) end = dip.find("\r\n", end) + 2;
         dip.resize(end);
       },
       {"Setup.dip:0:error"}},
      {"a label one character short",
       [](auto& p) { p.SetLine("Setup.dip", 3, "Nome breve :Condominio"); },
       {"Setup.dip:3:error"}},
      {"a value starting mid-word",
       [](auto& p) { p.SetLine("Setup.dip", 5, "Versionex3.2"); }, {"Setup.dip:5:warning"}},
      {"an empty AppFullName", [](auto& p) { p.SetLine("Setup.dip", 1, "Nome:"); },
       {"Setup.dip:1:error"}},
      {"PackageBytes not a number", [](auto& p) { p.SetLine("Setup.dip", 7, "Dimensione:circa"); },
       {"Setup.dip:7:error"}},
      {"eleven shortcut groups",
       [](auto& p) {
         for (int i = 0; i < 9; ++i)
           p.files["Setup.dip"] += "Nome  :Guida\r\nFile  :leggimi.txt\r\nIcona :condominio.ico\r\n";
       },
       {"Setup.dip:42:error"}},
      {"a shortcut group cut short", [](auto& p) { p.files["Setup.dip"] += "Nome  :Extra\r\n"; },
       {"Setup.dip:18:error"}},
      {"a shortcut target nothing installs",
       [](auto& p) { p.SetLine("Setup.dip", 13, "File  :Documenti\\manca.txt"); },
       {"Setup.dip:13:error"}},
      {"a Setup.ftc line without \";\"",
       [s](auto& p) { p.SetLine("Setup.ftc", 7, "nota.txt " + s + "KV_App_Path" + s + " 1", true); },
       {"Setup.ftc:7:warning"}},
      {"a name with no file in files\\",
       [s](auto& p) { p.SetLine("Setup.ftc", 7, "manca.txt;" + s + "KV_App_Path" + s + ";1", true); },
       {"Setup.ftc:7:error"}},
      {"a file no line names", [](auto& p) { p.files["files\\extra.txt"] = "x"; },
       {"files\\extra.txt:0:warning"}},
      {"an unknown token",
       [s](auto& p) { p.SetLine("Setup.ftc", 10, "modello_verbale.txt;" + s + "KV_Modelli" + s + ";0"); },
       {"Setup.ftc:10:error"}},
      {"a flag that is not a digit",
       [s](auto& p) { p.SetLine("Setup.ftc", 6, "leggimi.txt;" + s + "KV_App_Path" + s + ";x"); },
       {"Setup.ftc:6:error"}},
      {"a folder the code page cannot hold",
       [s](auto& p) {
         p.SetLine("Setup.ftc", 10, "modello_verbale.txt;" + s + "KV_App_Path" + s + "\\Mod\x81;0");
       },
       {"Setup.ftc:10:error"}},
      {"a folder with ..",
       [s](auto& p) {
         p.SetLine("Setup.ftc", 10, "modello_verbale.txt;" + s + "KV_App_Path" + s + "\\..\\M;0");
       },
       {"Setup.ftc:10:error"}},
      {"one destination twice",
       [s](auto& p) { p.SetLine("Setup.ftc", 7, "leggimi.txt;" + s + "kv_app_path" + s + ";1", true); },
       {"Setup.ftc:7:error", "Setup.dip:7:error"}},
      {"Settings.lrk lines the editor rejects",
       [s](auto& p) {
         p.SetLine("Settings.lrk", 4, "\"DisplayName\"=\"" + s + "KV_Nome" + s + "\"");
         p.SetLine("Settings.lrk", 8, "[HKEY_LOCALE_MACHINE\\Software]");
         p.SetLine("Settings.lrk", 12, "\"Modelli\"=\"C:\\Modelli\"");
         p.SetLine("Settings.lrk", 13, "\"PrimoAvvio\"=dword:1G");
       },
       {"Settings.lrk:4:error", "Settings.lrk:8:error", "Settings.lrk:12:error",
        "Settings.lrk:13:error"}},
      {"texts empty or not in the code page",
       [](auto& p) {
         p.files["Licence.txt"] = "  \r\n";
         p.files["Welcome.txt"] = "Benvenuti \xC3\xA8\r\n";
       },
       {"Licence.txt:0:error", "Welcome.txt:0:error"}},
      {"components of the wrong kind",
       [](auto& p) {
         p.files["unplant.dll"] = PeImage(true, {});
         p.files["kv_shell.dll"] = PeImage(true, {"DllUnregisterServer"});
         p.files["MsVBvm50.dll"] = PeImage(true, {}, 0x8664, 0x20B);
       },
       {"unplant.dll:0:error", "kv_shell.dll:0:error", "MsVBvm50.dll:0:error"}},
  };
  for (const Case& c : cases) {
    MemoryPackage package = SamplePackage();
    c.make(package);
    const std::vector<Finding> findings = CheckPackage(package);
    std::string report;
    for (const Finding& f : findings) report += "\n  " + FormatFinding(f);
    EXPECT_EQ(Places(findings), c.expected) << c.fault << report;
  }
}

TEST(PackageCheck, AWrongPackageBytesNamesBothFigures) {
  MemoryPackage package = SamplePackage();
  package.SetLine("Setup.dip", 7, "Dimensione:112888");
  const std::vector<Finding> findings = CheckPackage(package);
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(FormatFinding(findings[0]),
            "Setup.dip:7: error: PackageBytes is 112888, but the files Setup.ftc lists total "
            "113151 bytes: the overall bar would not end at 100");
}

}  // namespace
}  // namespace tessaro::package_check
