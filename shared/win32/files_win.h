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
  std::unique_ptr<OpenFile> OpenForReading(const std::string& path, FileFault& fault) override;
  std::unique_ptr<OpenFile> OpenForReadingFromMedium(const std::string& path,
                                                     FileFault& fault) override;
  std::unique_ptr<OpenFile> OpenForWriting(const std::string& path, FileFault& fault) override;
  std::optional<FileTimes> GetTimes(const std::string& path) override;
  bool SetTimes(const std::string& path, const FileTimes& times) override;
  bool ReplaceAtRestart(const std::string& from, const std::string& to) override;
  std::optional<uint64_t> FileLength(const std::string& path) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  bool ChangeVolumeLabel(const std::string& root, const std::string& label) override;
  std::string LastErrorText() override;
  FileFault LastFault() override;
  // Drive facts, in drives_win.cpp.
  std::optional<DiskSpace> DiskSpaceOf(const std::string& root) override;
  std::optional<VolumeFacts> VolumeInformation(const std::string& root) override;
  uint32_t DriveType(const std::string& root) override;
};

}  // namespace tessaro
