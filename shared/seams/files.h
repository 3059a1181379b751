#pragma once
// Files and folders as the programs see them. Paths are UTF-8 Windows paths;
// relative paths resolve against the current folder.
#include <cstdint>
#include <memory>
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
// A junction or symbolic link: its target lies elsewhere.
constexpr uint32_t ReparsePoint = 0x400;
}  // namespace attr

struct DirEntry {
  std::string name;  // as Windows lists it, no folder
  uint32_t attributes = 0;
  bool IsFolder() const { return (attributes & attr::Directory) != 0; }
};

// Why a file could not be opened, read or written. InUse is another program
// holding it (sharing or lock violation, the runtime's error 70); Denied is
// access denied (a read-only file, a folder, a protected place: error 75);
// Exists is a file already there where a new one was to be made.
enum class FileFault { None, NotFound, InUse, Denied, Exists, Failed };

// How a call of this seam ended: with no fault, or with the kind of fault and
// the system's own error code (GetLastError's), which ErrorText describes.
// The result of the failing call itself, so nothing that runs after it can
// change the answer. True when the call succeeded.
struct FileStatus {
  FileFault fault = FileFault::None;
  uint32_t code = 0;
  bool ok() const { return fault == FileFault::None; }
  explicit operator bool() const { return ok(); }
};

// A value a call of this seam reads, or nothing, and then `status` says why.
template <class T>
struct FileRead : std::optional<T> {
  using std::optional<T>::optional;
  FileRead(FileStatus why) : status(why) {}
  FileStatus status;
};

// File times as Windows keeps them: 100-nanosecond steps since 1 January
// 1601, UTC.
struct FileTimes {
  uint64_t created = 0;
  uint64_t lastAccess = 0;
  uint64_t lastWrite = 0;
};

// A file held open for moving blocks; closed when destroyed.
class OpenFile {
 public:
  virtual ~OpenFile() = default;
  // Reads exactly `size` bytes at the current position.
  virtual FileStatus Read(char* buffer, size_t size) = 0;
  virtual FileStatus Write(const char* buffer, size_t size) = 0;
  // The file's length now.
  virtual uint64_t Length() = 0;
  // Makes what was written reach the disk before the program goes on.
  virtual FileStatus Flush() { return {}; }
  // Ends a file opened with OpenToOverwrite where the writing has got to;
  // what lay beyond goes. Nothing to do for a file that was emptied.
  virtual FileStatus CutHere() { return {}; }
  // Gives the file these three times and attributes through this handle,
  // with no second open; false when it cannot. A later write would move the
  // last-write time again.
  virtual bool SetTimesAndAttributes(const FileTimes& /*times*/, uint32_t /*attributes*/) {
    return false;
  }
};

// Sizes of a volume in bytes, as GetDiskFreeSpaceEx reports them.
struct DiskSpace {
  uint64_t total = 0;
  uint64_t totalFree = 0;
  uint64_t freeToCaller = 0;  // less than totalFree under disk quotas
};

// Name and file system of a volume, each cut at its first NUL.
struct VolumeFacts {
  std::string label;
  std::string fileSystem;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Every entry a directory search with this pattern returns (wildcards in the
  // last component), in the file system's order, "." and ".." included.
  virtual std::vector<DirEntry> List(const std::string& pattern) = 0;
  virtual FileRead<uint32_t> GetAttributes(const std::string& path) = 0;
  virtual FileStatus SetAttributes(const std::string& path, uint32_t attributes) = 0;
  virtual FileStatus Delete(const std::string& path) = 0;
  // Whole-file copy that replaces an existing destination.
  virtual FileStatus Copy(const std::string& from, const std::string& to) = 0;
  virtual FileStatus CreateFolder(const std::string& path) = 0;
  // Removes an empty folder.
  virtual FileStatus RemoveFolder(const std::string& path) = 0;
  // Deletes the file that the path names, or the junction or symbolic link
  // that it names, never what a link leads to: the object is opened as
  // itself, its read-only, hidden and system attributes are cleared and it
  // is deleted through that handle. Refused (Denied), with nothing touched,
  // when a folder on the way is a junction or symbolic link, and for a
  // folder that is not a link. For clearing up places that other users can
  // change while the program works.
  virtual FileStatus DeleteWithoutFollowing(const std::string& path) = 0;
  // Removes an empty folder, or a junction or folder link as a link; refused
  // like DeleteWithoutFollowing when a folder on the way is a link.
  virtual FileStatus RemoveFolderWithoutFollowing(const std::string& path) = 0;
  // Makes a new folder with a name of its own inside `parent` that only the
  // system and the administrators can open, what is put in it included; its
  // full path.
  virtual FileRead<std::string> CreatePrivateFolder(const std::string& parent) = 0;
  virtual FileStatus SetCurrentFolder(const std::string& path) = 0;
  virtual std::string CurrentFolder() = 0;
  // Raw bytes of a whole file; nothing when it cannot be read.
  virtual FileRead<std::string> ReadAll(const std::string& path) = 0;
  // Creates or replaces the file with these bytes.
  virtual FileStatus WriteAll(const std::string& path, const std::string& bytes) = 0;
  // Adds the bytes at the end, creating the file when missing.
  virtual FileStatus Append(const std::string& path, const std::string& bytes) = 0;
  // Strings of the file's version resource, taken from the first entry of its
  // translation table: one per name asked for, in the same order, as stored
  // (a terminating NUL may be part of it), or nothing for a name that
  // translation lacks. Names match regardless of case, as VerQueryValue does.
  // Empty when the file has no version resource or no translation table.
  virtual std::vector<std::optional<std::string>> ReadVersionStrings(
      const std::string& path, const std::vector<std::string>& names) = 0;
  // Opens an existing file for reading; nothing, with the reason in
  // `status`, when it cannot.
  virtual std::unique_ptr<OpenFile> OpenForReading(const std::string& path, FileStatus& status) = 0;
  // Opens an existing file for reading from the medium itself, past any copy
  // the system keeps in memory, so that what was just written can be checked.
  virtual std::unique_ptr<OpenFile> OpenForReadingFromMedium(const std::string& path,
                                                             FileStatus& status) {
    return OpenForReading(path, status);
  }
  // Opens the file for writing, created when missing and emptied when there.
  virtual std::unique_ptr<OpenFile> OpenForWriting(const std::string& path, FileStatus& status) = 0;
  // Creates a new file and opens it for writing; fails, touching nothing,
  // when anything is at the path already (a hidden file, a link, a folder),
  // with FileFault::Exists.
  virtual std::unique_ptr<OpenFile> CreateNew(const std::string& path, FileStatus& status) = 0;
  // Opens the file for writing, created when missing, but unlike
  // OpenForWriting leaves what is there to be written over in place, which
  // spares the file system letting the space go and finding it again when
  // the new content is about as long (a backup's pieces over the last
  // one's). The writer ends the file with CutHere once it has written all.
  virtual std::unique_ptr<OpenFile> OpenToOverwrite(const std::string& path, FileStatus& status) {
    return OpenForWriting(path, status);
  }
  virtual FileRead<FileTimes> GetTimes(const std::string& path) = 0;
  virtual FileStatus SetTimes(const std::string& path, const FileTimes& times) = 0;
  // Has Windows move `from` over `to` at the next start (MoveFileEx with
  // MOVEFILE_DELAY_UNTIL_REBOOT); NT-based Windows only.
  virtual FileStatus ReplaceAtRestart(const std::string& from, const std::string& to) = 0;
  // Takes that replacement off Windows' list again; success when it is not
  // (or no longer) there.
  virtual FileStatus CancelReplaceAtRestart(const std::string& from, const std::string& to) = 0;
  // Length of a file in bytes; nothing for a missing file, a folder or a
  // drive that is not ready.
  virtual FileRead<uint64_t> FileLength(const std::string& path) = 0;
  // Moves a file to another name on the same volume, replacing a file there.
  virtual FileStatus MoveReplacing(const std::string& from, const std::string& to) = 0;
  // Gives the volume whose root is given ("A:\") a new label.
  virtual FileStatus ChangeVolumeLabel(const std::string& root, const std::string& label) = 0;
  // The system's description of an error code of a FileStatus, without a
  // final line break; "Errore <code>" when the system has none.
  virtual std::string ErrorText(uint32_t code) = 0;
  // Sizes of the volume whose root is given ("C:\"); nothing when the drive
  // cannot be read (no such drive, no medium, network error).
  virtual std::optional<DiskSpace> DiskSpaceOf(const std::string& root) = 0;
  // Label and file-system name of the volume; nothing when unreadable.
  virtual std::optional<VolumeFacts> VolumeInformation(const std::string& root) = 0;
  // GetDriveType's code: 0 unknown, 1 no such root, 2 removable, 3 fixed,
  // 4 remote, 5 CD-ROM, 6 RAM disk.
  virtual uint32_t DriveType(const std::string& root) = 0;
};

}  // namespace tessaro
