#include "files_win.h"

#include <windows.h>

#include <algorithm>

#include "handles.h"
#include "system_dlls_win.h"
#include "wide.h"

namespace tessaro {

namespace {

FileFault FaultOf(DWORD error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return FileFault::InUse;
    case ERROR_ACCESS_DENIED: return FileFault::Denied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return FileFault::NotFound;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return FileFault::Exists;
    default: return FileFault::Failed;
  }
}

FileStatus Failure(DWORD error) { return {FaultOf(error), static_cast<uint32_t>(error)}; }

// Taken right after the failing call, before anything else can change the
// thread's last error (closing a handle included).
FileStatus LastFailure() { return Failure(GetLastError()); }

FileStatus StatusOf(BOOL succeeded) { return succeeded ? FileStatus{} : LastFailure(); }

}  // namespace

FileStatus FileFailure(unsigned long error) { return Failure(error); }

std::vector<DirEntry> Win32Files::List(const std::string& pattern) {
  std::vector<DirEntry> entries;
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileExW(Widen(pattern).c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, 0));
  if (!find) return entries;
  do {
    entries.push_back({Narrow(data.cFileName, wcsnlen(data.cFileName, MAX_PATH)),
                       static_cast<uint32_t>(data.dwFileAttributes)});
  } while (FindNextFileW(find.Get(), &data));
  return entries;
}

FileRead<uint32_t> Win32Files::GetAttributes(const std::string& path) {
  DWORD a = GetFileAttributesW(Widen(path).c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return LastFailure();
  return static_cast<uint32_t>(a);
}

FileStatus Win32Files::SetAttributes(const std::string& path, uint32_t attributes) {
  return StatusOf(SetFileAttributesW(Widen(path).c_str(), attributes));
}

FileStatus Win32Files::Delete(const std::string& path) {
  return StatusOf(DeleteFileW(Widen(path).c_str()));
}

FileStatus Win32Files::Copy(const std::string& from, const std::string& to) {
  return StatusOf(CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE));
}

FileStatus Win32Files::CreateFolder(const std::string& path) {
  return StatusOf(CreateDirectoryW(Widen(path).c_str(), nullptr));
}

FileStatus Win32Files::RemoveFolder(const std::string& path) {
  return StatusOf(RemoveDirectoryW(Widen(path).c_str()));
}

FileStatus Win32Files::SetCurrentFolder(const std::string& path) {
  return StatusOf(SetCurrentDirectoryW(Widen(path).c_str()));
}

std::string Win32Files::CurrentFolder() {
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring buffer(n, L'\0');
  n = GetCurrentDirectoryW(n, buffer.data());
  buffer.resize(n);
  return Narrow(buffer);
}

FileRead<std::string> Win32Files::ReadAll(const std::string& path) {
  KernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastFailure();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) return LastFailure();
  if (size.QuadPart > 0x7FFFFFFF) return Failure(ERROR_FILE_TOO_LARGE);
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    return LastFailure();
  bytes.resize(read);
  return bytes;
}

namespace {

FileStatus WriteBytes(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  if (bytes.empty()) return {};
  if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    return LastFailure();
  return written == bytes.size() ? FileStatus{} : Failure(ERROR_WRITE_FAULT);
}

}  // namespace

FileStatus Win32Files::WriteAll(const std::string& path, const std::string& bytes) {
  KernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastFailure();
  return WriteBytes(file.Get(), bytes);
}

FileStatus Win32Files::Append(const std::string& path, const std::string& bytes) {
  KernelHandle file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastFailure();
  return WriteBytes(file.Get(), bytes);
}

std::vector<std::optional<std::string>> Win32Files::ReadVersionStrings(
    const std::string& path, const std::vector<std::string>& names) {
  std::vector<std::optional<std::string>> values;
  std::wstring file = Widen(path);
  DWORD size = VersionInfoSize(file.c_str());
  if (size == 0) return values;
  std::vector<unsigned char> block(size);
  if (!VersionInfo(file.c_str(), size, block.data())) return values;

  struct Translation {
    WORD language;
    WORD codePage;
  };
  void* found = nullptr;
  UINT length = 0;
  if (!VersionQuery(block.data(), L"\\VarFileInfo\\Translation", &found, &length) ||
      length < sizeof(Translation))
    return values;
  const auto* first = static_cast<const Translation*>(found);
  // The string table of a translation is named by eight upper-case hex digits:
  // language, then code page.
  const uint32_t pair = (uint32_t{first->language} << 16) | first->codePage;
  std::wstring table = L"\\StringFileInfo\\";
  for (int shift = 28; shift >= 0; shift -= 4) table += L"0123456789ABCDEF"[(pair >> shift) & 0xF];

  const unsigned char* end = block.data() + block.size();
  for (const std::string& name : names) {
    std::wstring query = table + L"\\" + Widen(name);
    found = nullptr;
    length = 0;
    if (!VersionQuery(block.data(), query.c_str(), &found, &length) || !found) {
      values.emplace_back();
      continue;
    }
    // The stored length comes from the file; never read past the block.
    const auto* at = static_cast<const unsigned char*>(found);
    size_t room = at >= block.data() && at < end ? (end - at) / sizeof(wchar_t) : 0;
    values.emplace_back(Narrow(static_cast<const wchar_t*>(found), std::min<size_t>(length, room)));
  }
  return values;
}

namespace {

uint64_t LengthOf(HANDLE file) {
  LARGE_INTEGER size{};
  return GetFileSizeEx(file, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}

class Win32OpenFile : public OpenFile {
 public:
  explicit Win32OpenFile(KernelHandle file) : file_(std::move(file)) {}
  FileStatus Read(char* buffer, size_t size) override {
    DWORD done = 0;
    if (!ReadFile(file_.Get(), buffer, static_cast<DWORD>(size), &done, nullptr))
      return LastFailure();
    // A file that ended early reads without an error of its own.
    return done == size ? FileStatus{} : Failure(ERROR_HANDLE_EOF);
  }
  FileStatus Write(const char* buffer, size_t size) override {
    DWORD done = 0;
    if (!WriteFile(file_.Get(), buffer, static_cast<DWORD>(size), &done, nullptr))
      return LastFailure();
    return done == size ? FileStatus{} : Failure(ERROR_WRITE_FAULT);
  }
  uint64_t Length() override { return LengthOf(file_.Get()); }
  FileStatus Flush() override { return StatusOf(FlushFileBuffers(file_.Get())); }
  FileStatus CutHere() override { return StatusOf(SetEndOfFile(file_.Get())); }
  bool SetTimesAndAttributes(const FileTimes& times, uint32_t attributes) override;

 private:
  KernelHandle file_;
};

// Reads a file past the system's cache (FILE_FLAG_NO_BUFFERING): whole
// aligned blocks into an aligned buffer, handed out in the sizes asked for.
class Win32MediumFile : public OpenFile {
 public:
  static constexpr DWORD kChunk = 64 * 1024;  // a multiple of every sector size
  explicit Win32MediumFile(KernelHandle file)
      : file_(std::move(file)),
        buffer_(static_cast<char*>(
            VirtualAlloc(nullptr, kChunk, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
  ~Win32MediumFile() override {
    if (buffer_) VirtualFree(buffer_, 0, MEM_RELEASE);
  }
  FileStatus Read(char* out, size_t size) override {
    if (!buffer_) return Failure(ERROR_NOT_ENOUGH_MEMORY);
    while (size > 0) {
      if (at_ == have_) {
        DWORD got = 0;
        if (!ended_ && !ReadFile(file_.Get(), buffer_, kChunk, &got, nullptr))
          return LastFailure();
        if (got == 0) return Failure(ERROR_HANDLE_EOF);
        have_ = got;
        at_ = 0;
        ended_ = got < kChunk;
      }
      const size_t part = std::min<size_t>(size, have_ - at_);
      std::copy_n(buffer_ + at_, part, out);
      at_ += part;
      out += part;
      size -= part;
    }
    return {};
  }
  FileStatus Write(const char*, size_t) override { return Failure(ERROR_ACCESS_DENIED); }
  uint64_t Length() override { return LengthOf(file_.Get()); }

 private:
  KernelHandle file_;
  char* buffer_;
  size_t have_ = 0, at_ = 0;
  bool ended_ = false;
};

uint64_t FromFileTime(const FILETIME& t) {
  return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
}

FILETIME ToFileTime(uint64_t t) {
  return FILETIME{static_cast<DWORD>(t & 0xFFFFFFFFu), static_cast<DWORD>(t >> 32)};
}

// One call for both; a reading handle lacks FILE_WRITE_ATTRIBUTES and fails.
bool Win32OpenFile::SetTimesAndAttributes(const FileTimes& times, uint32_t attributes) {
  FILE_BASIC_INFO info{};
  info.CreationTime.QuadPart = static_cast<LONGLONG>(times.created);
  info.LastAccessTime.QuadPart = static_cast<LONGLONG>(times.lastAccess);
  info.LastWriteTime.QuadPart = static_cast<LONGLONG>(times.lastWrite);
  info.FileAttributes = attributes;  // the change time stays 0: left to the system
  return SetFileInformationByHandle(file_.Get(), FileBasicInfo, &info, sizeof info) != 0;
}

// Only the attributes are opened, so a file another program holds open can
// still be read and stamped.
KernelHandle OpenForAttributes(const std::string& path, DWORD access) {
  return KernelHandle(CreateFileW(Widen(path).c_str(), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

}  // namespace

std::unique_ptr<OpenFile> Win32Files::OpenForReading(const std::string& path,
                                                     FileStatus& status) {
  KernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  status = file ? FileStatus{} : LastFailure();
  return file ? std::make_unique<Win32OpenFile>(std::move(file)) : nullptr;
}

std::unique_ptr<OpenFile> Win32Files::OpenForReadingFromMedium(const std::string& path,
                                                               FileStatus& status) {
  const std::wstring name = Widen(path);
  KernelHandle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  status = file ? FileStatus{} : LastFailure();
  // A file system that cannot bypass its cache refuses the flag; read through it then.
  if (status.code == ERROR_INVALID_PARAMETER) return OpenForReading(path, status);
  return file ? std::make_unique<Win32MediumFile>(std::move(file)) : nullptr;
}

std::unique_ptr<OpenFile> Win32Files::OpenForWriting(const std::string& path,
                                                     FileStatus& status) {
  // OPEN_ALWAYS and then truncating, because CREATE_ALWAYS refuses an existing
  // hidden or system file with ERROR_ACCESS_DENIED. A file just made is empty.
  KernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  status = !file || (GetLastError() == ERROR_ALREADY_EXISTS && !SetEndOfFile(file.Get()))
               ? LastFailure()
               : FileStatus{};
  return status ? std::make_unique<Win32OpenFile>(std::move(file)) : nullptr;
}

std::unique_ptr<OpenFile> Win32Files::OpenToOverwrite(const std::string& path,
                                                      FileStatus& status) {
  // Emptying a file first costs the file system more than the writing
  // (under Wine, cutting a 1.4 MB piece to nothing and filling it again
  // takes longer than copying it).
  KernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  status = file ? FileStatus{} : LastFailure();
  return file ? std::make_unique<Win32OpenFile>(std::move(file)) : nullptr;
}

std::unique_ptr<OpenFile> Win32Files::CreateNew(const std::string& path, FileStatus& status) {
  // CREATE_NEW fails on any existing name, a link included, so nothing that
  // appeared meanwhile is ever opened and emptied.
  KernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  status = file ? FileStatus{} : LastFailure();
  return file ? std::make_unique<Win32OpenFile>(std::move(file)) : nullptr;
}

FileRead<FileTimes> Win32Files::GetTimes(const std::string& path) {
  KernelHandle file = OpenForAttributes(path, FILE_READ_ATTRIBUTES);
  FILETIME created, accessed, written;
  if (!file || !GetFileTime(file.Get(), &created, &accessed, &written)) return LastFailure();
  return FileTimes{FromFileTime(created), FromFileTime(accessed), FromFileTime(written)};
}

FileStatus Win32Files::SetTimes(const std::string& path, const FileTimes& times) {
  KernelHandle file = OpenForAttributes(path, FILE_WRITE_ATTRIBUTES);
  if (!file) return LastFailure();
  FILETIME created = ToFileTime(times.created), accessed = ToFileTime(times.lastAccess),
           written = ToFileTime(times.lastWrite);
  return StatusOf(SetFileTime(file.Get(), &created, &accessed, &written));
}

FileStatus Win32Files::ReplaceAtRestart(const std::string& from, const std::string& to) {
  return StatusOf(MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                              MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING));
}

namespace {

// A path as MoveFileEx writes it into the list of renames: its NT form.
std::wstring NtPath(const std::string& path) {
  const std::wstring name = Widen(path);
  const std::wstring full = TextOfCall([&](unsigned long size, wchar_t* buffer) {
                              return GetFullPathNameW(name.c_str(), size, buffer, nullptr);
                            }).value_or(name);
  return full.rfind(L"\\\\", 0) == 0 ? L"\\??\\UNC" + full.substr(1) : L"\\??\\" + full;
}

FileStatus RegistryStatus(LSTATUS result) {
  return result == ERROR_SUCCESS ? FileStatus{} : Failure(static_cast<DWORD>(result));
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

FileStatus Win32Files::CancelReplaceAtRestart(const std::string& from, const std::string& to) {
  // MoveFileEx keeps the list in the Session Manager's
  // PendingFileRenameOperations: pairs of NT paths, the source and then the
  // target, with "!" before a target that may be replaced and an empty one
  // for a delete; an empty source ends the list.
  constexpr const wchar_t* kValue = L"PendingFileRenameOperations";
  HKEY raw = nullptr;
  LSTATUS result =
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE, &raw);
  if (result != ERROR_SUCCESS) return RegistryStatus(result);
  RegKeyHandle key(raw);
  DWORD type = 0, size = 0;
  result = RegQueryValueExW(key.Get(), kValue, nullptr, &type, nullptr, &size);
  if (result == ERROR_FILE_NOT_FOUND) return {};
  if (result != ERROR_SUCCESS) return RegistryStatus(result);
  std::wstring list(size / sizeof(wchar_t) + 1, L'\0');
  result = RegQueryValueExW(key.Get(), kValue, nullptr, &type, reinterpret_cast<BYTE*>(list.data()),
                            &size);
  if (result != ERROR_SUCCESS) return RegistryStatus(result);
  if (type != REG_MULTI_SZ) return {};
  list.resize(size / sizeof(wchar_t));

  const std::wstring source = NtPath(from), target = NtPath(to);
  std::wstring kept;
  bool removed = false;
  for (size_t at = 0; at < list.size();) {
    auto next = [&] {
      const size_t end = std::min(list.find(L'\0', at), list.size());
      std::wstring entry = list.substr(at, end - at);
      at = end + 1;
      return entry;
    };
    const std::wstring renamed = next();
    if (renamed.empty()) break;
    const std::wstring into = at < list.size() ? next() : std::wstring();
    const std::wstring plainInto = !into.empty() && into[0] == L'!' ? into.substr(1) : into;
    if (SamePath(renamed, source) && SamePath(plainInto, target)) {
      removed = true;
      continue;
    }
    kept += renamed + L'\0' + into + L'\0';
  }
  if (!removed) return {};
  if (kept.empty()) return RegistryStatus(RegDeleteValueW(key.Get(), kValue));
  kept += L'\0';
  return RegistryStatus(RegSetValueExW(key.Get(), kValue, 0, REG_MULTI_SZ,
                                       reinterpret_cast<const BYTE*>(kept.data()),
                                       static_cast<DWORD>(kept.size() * sizeof(wchar_t))));
}

FileRead<uint64_t> Win32Files::FileLength(const std::string& path) {
  // Read from the directory entry, so a file another program holds open has
  // a length too.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data))
    return LastFailure();
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Failure(ERROR_ACCESS_DENIED);
  return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

FileStatus Win32Files::MoveReplacing(const std::string& from, const std::string& to) {
  return StatusOf(MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

FileStatus Win32Files::ChangeVolumeLabel(const std::string& root, const std::string& label) {
  return StatusOf(SetVolumeLabelW(Widen(root).c_str(), Widen(label).c_str()));
}

std::string Win32Files::ErrorText(uint32_t code) {
  const DWORD error = code;
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string description;
  if (length && text) description = Narrow(text, length);
  if (text) LocalFree(text);
  // System messages end with a line break, which a message box would show.
  while (!description.empty() && (description.back() == '\n' || description.back() == '\r'))
    description.pop_back();
  if (description.empty()) description = "Errore " + std::to_string(error);
  return description;
}

}  // namespace tessaro
