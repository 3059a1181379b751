#pragma once
#include "seams/files.h"

namespace tessaro {

// How a call failed with this system error code (GetLastError's): its kind
// and the code.
FileStatus FileFailure(unsigned long error);

class Win32Files : public FileSystem {
 public:
  std::vector<DirEntry> List(const std::string& pattern) override;
  FileRead<uint32_t> GetAttributes(const std::string& path) override;
  FileStatus SetAttributes(const std::string& path, uint32_t attributes) override;
  FileStatus Delete(const std::string& path) override;
  FileStatus Copy(const std::string& from, const std::string& to) override;
  FileStatus CreateFolder(const std::string& path) override;
  FileStatus RemoveFolder(const std::string& path) override;
  // Deleting without following links and the private folder, in
  // files_guarded_win.cpp.
  FileStatus DeleteWithoutFollowing(const std::string& path) override;
  FileStatus RemoveFolderWithoutFollowing(const std::string& path) override;
  FileRead<std::string> CreatePrivateFolder(const std::string& parent) override;
  FileStatus SetCurrentFolder(const std::string& path) override;
  std::string CurrentFolder() override;
  FileRead<std::string> ReadAll(const std::string& path) override;
  FileStatus WriteAll(const std::string& path, const std::string& bytes) override;
  FileStatus Append(const std::string& path, const std::string& bytes) override;
  std::vector<std::optional<std::string>> ReadVersionStrings(
      const std::string& path, const std::vector<std::string>& names) override;
  std::unique_ptr<OpenFile> OpenForReading(const std::string& path, FileStatus& status) override;
  std::unique_ptr<OpenFile> OpenForReadingFromMedium(const std::string& path,
                                                     FileStatus& status) override;
  std::unique_ptr<OpenFile> OpenForWriting(const std::string& path, FileStatus& status) override;
  std::unique_ptr<OpenFile> CreateNew(const std::string& path, FileStatus& status) override;
  std::unique_ptr<OpenFile> OpenToOverwrite(const std::string& path, FileStatus& status) override;
  FileRead<FileTimes> GetTimes(const std::string& path) override;
  FileStatus SetTimes(const std::string& path, const FileTimes& times) override;
  FileStatus ReplaceAtRestart(const std::string& from, const std::string& to) override;
  FileStatus CancelReplaceAtRestart(const std::string& from, const std::string& to) override;
  FileRead<uint64_t> FileLength(const std::string& path) override;
  FileStatus MoveReplacing(const std::string& from, const std::string& to) override;
  FileStatus ChangeVolumeLabel(const std::string& root, const std::string& label) override;
  std::string ErrorText(uint32_t code) override;
  // Drive facts, in drives_win.cpp.
  std::optional<DiskSpace> DiskSpaceOf(const std::string& root) override;
  std::optional<VolumeFacts> VolumeInformation(const std::string& root) override;
  uint32_t DriveType(const std::string& root) override;
};

}  // namespace tessaro
