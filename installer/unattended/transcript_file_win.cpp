#include "unattended/transcript_file_win.h"

#include <windows.h>

#include <objbase.h>

#include <optional>
#include <vector>

#include "text.h"
#include "unattended/command_line.h"
#include "unattended/transcript.h"
#include "win32/handles.h"
#include "win32/wide.h"

namespace tessaro {

namespace {

FileStatus LastFailure() { return {FileFault::Failed, static_cast<uint32_t>(GetLastError())}; }

// The transcript's handle, written to line by line for the whole run.
class TranscriptHandle : public OpenFile {
 public:
  explicit TranscriptHandle(KernelHandle file) : file_(std::move(file)) {}
  FileStatus Read(char*, size_t) override { return {FileFault::Denied, ERROR_ACCESS_DENIED}; }
  FileStatus Write(const char* buffer, size_t size) override {
    DWORD done = 0;
    if (!WriteFile(file_.Get(), buffer, static_cast<DWORD>(size), &done, nullptr))
      return LastFailure();
    return done == size ? FileStatus{} : FileStatus{FileFault::Failed, ERROR_WRITE_FAULT};
  }
  uint64_t Length() override {
    LARGE_INTEGER size{};
    return GetFileSizeEx(file_.Get(), &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
  }
  FileStatus Flush() override {
    return FlushFileBuffers(file_.Get()) ? FileStatus{} : LastFailure();
  }

 private:
  KernelHandle file_;
};

// Made new, or nothing: CREATE_NEW fails on any name that exists, a link
// (even one pointing nowhere) included, and never follows it.
KernelHandle CreateNew(const std::wstring& path) {
  return KernelHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// What is there: the link itself rather than its target
// (FILE_FLAG_OPEN_REPARSE_POINT), a folder too (FILE_FLAG_BACKUP_SEMANTICS).
KernelHandle OpenExisting(const std::wstring& path, DWORD access, DWORD share) {
  return KernelHandle(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                  nullptr));
}

ExistingLogFile FactsOf(HANDLE file) {
  ExistingLogFile facts;
  facts.diskFile = GetFileType(file) == FILE_TYPE_DISK;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) {
    facts.diskFile = false;  // whatever it is, not a plain file
    return facts;
  }
  facts.reparsePoint = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  facts.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  facts.links = info.nNumberOfLinks;
  if (!facts.diskFile || facts.reparsePoint || facts.folder) return facts;
  char head[kTranscriptHeadSize];
  DWORD got = 0;
  size_t have = 0;
  while (have < sizeof head &&
         ReadFile(file, head + have, static_cast<DWORD>(sizeof head - have), &got, nullptr) &&
         got > 0)
    have += got;
  facts.head.assign(head, have);
  return facts;
}

// Empties the file through the handle that was checked, and hands it on.
std::unique_ptr<OpenFile> Emptied(KernelHandle file) {
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN) || !SetEndOfFile(file.Get()))
    return nullptr;
  return std::make_unique<TranscriptHandle>(std::move(file));
}

bool Exists(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

bool RunsAsLocalSystem() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
  KernelHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  if (size < sizeof(TOKEN_USER)) return false;
  std::vector<unsigned char> buffer(size);
  if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size)) return false;
  const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
  return IsWellKnownSid(user->User.Sid, WinLocalSystemSid) != FALSE;
}

// The folder of a run's own transcript, ending in "\".
std::optional<std::wstring> RunTranscriptFolder() {
  if (RunsAsLocalSystem()) {
    // Never the TEMP of the environment, which whoever started the run may
    // have handed down.
    auto windows = TextOfCall(
        [](DWORD size, wchar_t* buffer) { return GetSystemWindowsDirectoryW(buffer, size); });
    if (!windows || windows->empty()) return std::nullopt;
    if (windows->back() != L'\\') *windows += L'\\';
    return *windows + L"Temp\\";
  }
  return TextOfCall([](DWORD size, wchar_t* buffer) { return GetTempPathW(size, buffer); });
}

// Eight hex digits that differ from run to run and cannot be guessed ahead.
std::string UniqueCode() {
  GUID guid{};
  if (FAILED(CoCreateGuid(&guid))) guid.Data1 = GetTickCount() ^ GetCurrentProcessId();
  static const char digits[] = "0123456789abcdef";
  std::string code;
  for (int shift = 28; shift >= 0; shift -= 4) code += digits[(guid.Data1 >> shift) & 0xF];
  return code;
}

}  // namespace

TranscriptFile OpenLogFile(const std::string& path) {
  TranscriptFile result;
  result.path = path;
  result.refusal = LogPathRefusal(path);
  if (!result.refusal.empty()) return result;
  const std::wstring wide = Widen(path);
  // A file deleted between the two opens is made anew, a few times at most.
  for (int attempt = 0; attempt < 3; ++attempt) {
    KernelHandle created = CreateNew(wide);
    if (created) {
      result.file = std::make_unique<TranscriptHandle>(std::move(created));
      return result;
    }
    const DWORD createError = GetLastError();
    KernelHandle existing = OpenExisting(wide, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
    if (!existing) {
      const DWORD openError = GetLastError();
      if (openError == ERROR_FILE_NOT_FOUND && Exists(createError)) continue;
      if (openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND) return result;
      // Read-only, held by another program, or closed to us: looked at all
      // the same, so that a file that is not a transcript is refused
      // whether or not it could have been written.
      KernelHandle look =
          OpenExisting(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
      if (look) result.refusal = ExistingLogRefusal(path, FactsOf(look.Get()));
      return result;
    }
    result.refusal = ExistingLogRefusal(path, FactsOf(existing.Get()));
    if (result.refusal.empty()) result.file = Emptied(std::move(existing));
    return result;
  }
  return result;
}

TranscriptFile CreateRunTranscript() {
  TranscriptFile result;
  const std::optional<std::wstring> folder = RunTranscriptFolder();
  if (!folder) return result;
  SYSTEMTIME t;
  GetLocalTime(&t);
  const std::string stamp = ZeroPadded(t.wYear, 4) + ZeroPadded(t.wMonth, 2) +
                            ZeroPadded(t.wDay, 2) + "-" + ZeroPadded(t.wHour, 2) +
                            ZeroPadded(t.wMinute, 2) + ZeroPadded(t.wSecond, 2);
  // A name someone made ahead (a file, a link) is passed over for another.
  for (int attempt = 0; attempt < 8; ++attempt) {
    const std::string path =
        Narrow(*folder) + "Tessaro-Installer-" + stamp + "-" + UniqueCode() + ".log";
    KernelHandle created = CreateNew(Widen(path));
    if (created) {
      result.path = path;
      result.file = std::make_unique<TranscriptHandle>(std::move(created));
      return result;
    }
    if (!Exists(GetLastError())) return result;
  }
  return result;
}

}  // namespace tessaro
