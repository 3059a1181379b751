#pragma once
#include "seams/files.h"

namespace tessaro {

class Win32Files : public FileSystem {
 public:
  std::vector<DirEntry> List(const std::string& pattern) override;
  std::optional<uint32_t> GetAttributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool Delete(const std::string& path) override;
  bool Copy(const std::string& from, const std::string& to) override;
  bool CreateFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool SetCurrentFolder(const std::string& path) override;
  std::string CurrentFolder() override;
  std::optional<std::string> ReadAll(const std::string& path) override;
  bool WriteAll(const std::string& path, const std::string& bytes) override;
  bool Append(const std::string& path, const std::string& bytes) override;
  std::vector<std::optional<std::string>> ReadVersionStrings(
      const std::string& path, const std::vector<std::string>& names) override;
};

}  // namespace tessaro
