#pragma once
// Files and folders as the programs see them. Paths are UTF-8 Windows paths;
// relative paths resolve against the current folder.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaro {

namespace attr {
constexpr uint32_t ReadOnly = 0x01;
constexpr uint32_t Hidden = 0x02;
constexpr uint32_t System = 0x04;
constexpr uint32_t Directory = 0x10;
constexpr uint32_t Archive = 0x20;
constexpr uint32_t Normal = 0x80;
}  // namespace attr

struct DirEntry {
  std::string name;  // as Windows lists it, no folder
  uint32_t attributes = 0;
  bool IsFolder() const { return (attributes & attr::Directory) != 0; }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Every entry a directory search with this pattern returns (wildcards in the
  // last component), in the file system's order, "." and ".." included.
  virtual std::vector<DirEntry> List(const std::string& pattern) = 0;
  virtual std::optional<uint32_t> GetAttributes(const std::string& path) = 0;
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
  virtual bool Delete(const std::string& path) = 0;
  // Whole-file copy that replaces an existing destination.
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  // Removes an empty folder.
  virtual bool RemoveFolder(const std::string& path) = 0;
  virtual bool SetCurrentFolder(const std::string& path) = 0;
  virtual std::string CurrentFolder() = 0;
  // Raw bytes of a whole file; nothing when it cannot be read.
  virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
  // Creates or replaces the file with these bytes.
  virtual bool WriteAll(const std::string& path, const std::string& bytes) = 0;
  // Adds the bytes at the end, creating the file when missing.
  virtual bool Append(const std::string& path, const std::string& bytes) = 0;
  // Strings of the file's version resource, taken from the first entry of its
  // translation table: one per name asked for, in the same order, as stored
  // (a terminating NUL may be part of it), or nothing for a name that
  // translation lacks. Names match regardless of case, as VerQueryValue does.
  // Empty when the file has no version resource or no translation table.
  virtual std::vector<std::optional<std::string>> ReadVersionStrings(
      const std::string& path, const std::vector<std::string>& names) = 0;
};

}  // namespace tessaro
