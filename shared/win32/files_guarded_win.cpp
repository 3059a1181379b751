// Win32Files' calls for an administrator's program clearing up folders that
// other users can change while it works: deleting without following a
// junction or symbolic link, and a folder of its own that nobody else can
// open.
#include <windows.h>
// sddl.h uses windows.h's types.
#include <sddl.h>

#include <optional>
#include <string>
#include <vector>

#include "files_win.h"
#include "handles.h"
#include "wide.h"

namespace tessaro {

namespace {

FileStatus LastFailure() { return FileFailure(GetLastError()); }

// Opens the object the path names as itself: a junction or symbolic link is
// opened, not what it leads to (FILE_FLAG_OPEN_REPARSE_POINT), and a folder
// opens like a file (FILE_FLAG_BACKUP_SEMANTICS).
KernelHandle OpenItself(const std::wstring& path, DWORD access, DWORD share) {
  return KernelHandle(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                  nullptr));
}

enum class Kind {
  Plain,     // a file or folder
  Link,      // a junction or symbolic link, and the handle is on the link itself
  Followed,  // a link, but the handle is on what it leads to: never act through it
};

struct Opened {
  DWORD attributes = 0;
  Kind kind = Kind::Plain;
};

// What an object opened with OpenItself is. A junction, mount point or
// symbolic link is a name surrogate; other reparse points (cloud and
// deduplicated files) are the file itself. Wine opens the target of a Unix
// symbolic link even when asked for the link, and shows a link to a folder
// only to a query by path: a handle without the reparse attribute whose path
// has it came through a link.
std::optional<Opened> Inspect(HANDLE handle, const std::wstring& path) {
  FILE_ATTRIBUTE_TAG_INFO info{};
  if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof info))
    return std::nullopt;
  Opened opened{info.FileAttributes, Kind::Plain};
  if (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    if (IsReparseTagNameSurrogate(info.ReparseTag)) opened.kind = Kind::Link;
  } else {
    const DWORD byPath = GetFileAttributesW(path.c_str());
    if (byPath != INVALID_FILE_ATTRIBUTES && (byPath & FILE_ATTRIBUTE_REPARSE_POINT))
      opened.kind = Kind::Followed;
  }
  return opened;
}

// Length of the root of a full path: "C:\" or "\\server\share\"; 0 for
// anything else.
size_t RootLength(const std::wstring& full) {
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return 3;
  if (full.rfind(L"\\\\", 0) != 0 || full.rfind(L"\\\\?\\", 0) == 0) return 0;
  const size_t server = full.find(L'\\', 2);
  const size_t share = server == std::wstring::npos ? server : full.find(L'\\', server + 1);
  return share == std::wstring::npos ? 0 : share + 1;
}

// The full path, without trailing backslashes below the root.
std::optional<std::wstring> FullPath(const std::string& path) {
  const std::wstring name = Widen(path);
  std::optional<std::wstring> full = TextOfCall([&](unsigned long size, wchar_t* buffer) {
    return GetFullPathNameW(name.c_str(), size, buffer, nullptr);
  });
  if (!full) return std::nullopt;
  const size_t root = RootLength(*full);
  while (full->size() > root && root > 0 && full->back() == L'\\') full->pop_back();
  return full;
}

// Opens every folder on the way from the root to the last component, each
// as itself and shared for neither deleting nor renaming, so that while the
// handles are held the path leads through these very folders: nobody can
// rename one away and put a link in its place. Denied when one of them is a
// link.
FileStatus HoldTheWay(const std::wstring& full, std::vector<KernelHandle>& held) {
  const size_t root = RootLength(full);
  if (root == 0 || full.size() <= root) return FileFailure(ERROR_INVALID_NAME);
  for (size_t slash = full.find(L'\\', root); slash != std::wstring::npos;
       slash = full.find(L'\\', slash + 1)) {
    const std::wstring folder = full.substr(0, slash);
    KernelHandle handle =
        OpenItself(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!handle) return LastFailure();
    const std::optional<Opened> opened = Inspect(handle.Get(), folder);
    if (!opened) return LastFailure();
    if (opened->kind != Kind::Plain) return FileFailure(ERROR_ACCESS_DENIED);
    if (!(opened->attributes & FILE_ATTRIBUTE_DIRECTORY)) return FileFailure(ERROR_PATH_NOT_FOUND);
    held.push_back(std::move(handle));
  }
  return {};
}

// The object the full path names, opened as itself for deleting, with the
// folders on the way held; a link that cannot be opened as itself is refused.
FileStatus OpenForDeleting(const std::wstring& full, DWORD access, std::vector<KernelHandle>& held,
                           KernelHandle& object, Opened& opened) {
  if (FileStatus way = HoldTheWay(full, held); !way) return way;
  object = OpenItself(full, DELETE | FILE_READ_ATTRIBUTES | access,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  if (!object) return LastFailure();
  const std::optional<Opened> what = Inspect(object.Get(), full);
  if (!what) return LastFailure();
  if (what->kind == Kind::Followed) return FileFailure(ERROR_ACCESS_DENIED);
  opened = *what;
  return {};
}

FileStatus DeleteThroughHandle(HANDLE object) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  if (!SetFileInformationByHandle(object, FileDispositionInfo, &disposition, sizeof disposition))
    return LastFailure();
  return {};
}

// A security descriptor from its text, given back with LocalFree.
class SecurityDescriptor {
 public:
  explicit SecurityDescriptor(const wchar_t* text) {
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(text, SDDL_REVISION_1, &sd_, nullptr))
      sd_ = nullptr;
  }
  ~SecurityDescriptor() { LocalFree(sd_); }
  SecurityDescriptor(const SecurityDescriptor&) = delete;
  SecurityDescriptor& operator=(const SecurityDescriptor&) = delete;
  PSECURITY_DESCRIPTOR Get() const { return sd_; }

 private:
  PSECURITY_DESCRIPTOR sd_ = nullptr;
};

}  // namespace

FileStatus Win32Files::DeleteWithoutFollowing(const std::string& path) {
  const std::optional<std::wstring> full = FullPath(path);
  if (!full) return LastFailure();
  std::vector<KernelHandle> held;
  KernelHandle object;
  Opened opened;
  if (FileStatus open = OpenForDeleting(*full, FILE_WRITE_ATTRIBUTES, held, object, opened); !open)
    return open;
  // DeleteFile refuses a folder the same way.
  if (opened.kind == Kind::Plain && (opened.attributes & FILE_ATTRIBUTE_DIRECTORY))
    return FileFailure(ERROR_ACCESS_DENIED);
  // A read-only file cannot be deleted; hidden and system go too, as for
  // any forced delete. Of the link's own attributes, when it is a link.
  constexpr DWORD kCleared =
      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (opened.attributes & kCleared) {
    FILE_BASIC_INFO basic{};
    const DWORD settable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY |
                           FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    basic.FileAttributes =
        opened.attributes & settable ? opened.attributes & settable : FILE_ATTRIBUTE_NORMAL;
    // A failure shows in the delete that follows.
    SetFileInformationByHandle(object.Get(), FileBasicInfo, &basic, sizeof basic);
  }
  return DeleteThroughHandle(object.Get());
}

FileStatus Win32Files::RemoveFolderWithoutFollowing(const std::string& path) {
  const std::optional<std::wstring> full = FullPath(path);
  if (!full) return LastFailure();
  std::vector<KernelHandle> held;
  KernelHandle object;
  Opened opened;
  if (FileStatus open = OpenForDeleting(*full, 0, held, object, opened); !open) return open;
  // RemoveDirectory refuses a file the same way.
  if (opened.kind == Kind::Plain && !(opened.attributes & FILE_ATTRIBUTE_DIRECTORY))
    return FileFailure(ERROR_DIRECTORY);
  // A folder that still holds anything stays (ERROR_DIR_NOT_EMPTY); a
  // junction goes as itself, whatever it leads to.
  return DeleteThroughHandle(object.Get());
}

FileRead<std::string> Win32Files::CreatePrivateFolder(const std::string& parent) {
  // Full control for the system and the Administrators group, handed down
  // to everything made inside, and nothing for anyone else: the list is
  // protected, so what the parent grants (every user may make folders in
  // the Windows folder's Temp) does not flow in. The elevated program's
  // objects belong to the Administrators group.
  SecurityDescriptor sd(L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)");
  if (!sd.Get()) return LastFailure();
  SECURITY_ATTRIBUTES attributes{sizeof attributes, sd.Get(), FALSE};
  // A name nobody can foresee. One that exists already was made by someone
  // else, perhaps to be used: another is taken.
  for (int attempt = 0; attempt < 8; ++attempt) {
    GUID id;
    wchar_t text[40] = {};
    if (FAILED(CoCreateGuid(&id)) || !StringFromGUID2(id, text, 40))
      return FileFailure(ERROR_GEN_FAILURE);
    const std::wstring folder = Widen(parent) + L"\\" + text;
    if (CreateDirectoryW(folder.c_str(), &attributes)) return Narrow(folder);
    if (GetLastError() != ERROR_ALREADY_EXISTS) return LastFailure();
  }
  return FileFailure(ERROR_ALREADY_EXISTS);
}

}  // namespace tessaro
