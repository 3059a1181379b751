#include "floppy.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "robot.h"
#include "support.h"

namespace wine_test::floppy {

using robot::narrow;
using robot::widen;

namespace {

constexpr char kLabelFile[] = ".windows-label";

// TESSARO_FLOPPIES, the pool's Unix path (set by wine-env.sh).
std::string pool() {
  wchar_t value[1024];
  DWORD n = GetEnvironmentVariableW(L"TESSARO_FLOPPIES", value, 1024);
  if (n == 0 || n >= 1024) {
    ADD_FAILURE() << "TESSARO_FLOPPIES is not set: run the tests with run-wine-test.sh";
    return {};
  }
  return narrow(std::wstring(value, n));
}

std::string disk_name(int disk) {
  return disk == kProtected ? "protected" : "disk" + std::to_string(disk);
}

bool valid(int disk) {
  if (disk == kProtected || (disk >= 1 && disk <= kDisks)) return true;
  ADD_FAILURE() << "there is no floppy " << disk;
  return false;
}

std::string windows_path(std::string unix_path) {
  std::replace(unix_path.begin(), unix_path.end(), '/', '\\');
  return "Z:" + unix_path;
}

std::string label_store(int disk) { return windows_path(pool() + "/labels/" + disk_name(disk)); }

bool write_file(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == bytes.size();
}

// Points drive A: at `unix_path` (which need not exist).
bool define_a(const std::string& unix_path) {
  std::string error;
  if (robot::insert_floppy(unix_path, error)) return true;
  ADD_FAILURE() << error;
  return false;
}

bool drive_a_readable() {
  DWORD attributes = GetFileAttributesW(L"A:\\");
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool insert(int disk) {
  if (!valid(disk) || !define_a(pool() + "/" + disk_name(disk))) return false;
  if (drive_a_readable()) return true;
  ADD_FAILURE() << "floppy " << disk << " is in A: but A:\\ cannot be read, error "
                << GetLastError();
  return false;
}

bool eject() {
  if (!define_a(pool() + "/none")) return false;
  if (!drive_a_readable()) return true;
  ADD_FAILURE() << "A: was emptied but A:\\ can still be read";
  return false;
}

std::string folder(int disk) {
  return valid(disk) ? windows_path(pool() + "/" + disk_name(disk)) : std::string();
}

std::vector<std::string> files(int disk) {
  std::vector<std::string> all = list_files(folder(disk));
  all.erase(std::remove(all.begin(), all.end(), kLabelFile), all.end());
  return all;
}

std::optional<std::string> label(int disk) {
  if (!valid(disk)) return std::nullopt;
  // The protected disk is read-only, its label is its own file.
  auto text = read_file(disk == kProtected ? folder(disk) + "\\" + kLabelFile : label_store(disk));
  if (!text) {
    ADD_FAILURE() << "cannot read the label of floppy " << disk;
    return std::nullopt;
  }
  // Wine ends the label with a line feed.
  while (!text->empty() && (text->back() == '\n' || text->back() == '\r')) text->pop_back();
  return text;
}

bool set_up(int disk, const std::string& label,
            const std::map<std::string, std::string>& contents) {
  if (!valid(disk)) return false;
  if (disk == kProtected) {
    ADD_FAILURE() << "the write-protected floppy cannot be set up";
    return false;
  }
  std::string root = folder(disk);
  bool ok = true;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(widen(root + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = narrow(data.cFileName);
      if (name != "." && name != ".." && name != kLabelFile)
        ok = remove_tree(root + "\\" + name) && ok;
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  for (const auto& [name, bytes] : contents) ok = write_file(root + "\\" + name, bytes) && ok;
  ok = write_file(label_store(disk), label + "\n") && ok;
  if (!ok) ADD_FAILURE() << "cannot set up floppy " << disk << " in " << root;
  return ok;
}

}  // namespace wine_test::floppy
