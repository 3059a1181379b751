#pragma once
// Test stand-ins for the seams: scripted message boxes with a record of every
// box, an in-memory file system with drive letters, an in-memory registry,
// shell folders, started programs and switchable platform facts.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "seams/services.h"

namespace tessaro::fakes {

// Thrown by FakePlatform::ExitProgram, so a test can see that (and how) the
// program ended. Deliberately not a std::exception.
struct ProgramEnded {
  int code;
};

struct ShownBox {
  std::string text;
  std::string title;
  MsgIcon icon;
  MsgButtons buttons;
  // The answer a question stated for a run with nobody there (Ask); none
  // for a box shown with ShowMessage.
  std::optional<MsgAnswer> unattended;
};

class FakeUi : public UserInterface {
 public:
  MsgAnswer ShowMessage(const std::string& text, const std::string& title, MsgIcon icon,
                        MsgButtons buttons) override;
  MsgAnswer Ask(const std::string& text, const std::string& title, MsgIcon icon, MsgButtons buttons,
                MsgAnswer unattended) override;
  void Beep() override { ++beeps; }
  void SetBusyPointer(bool busy) override { pointerHistory.push_back(busy); }
  void SetWorkingPointer(bool working) override { workingHistory.push_back(working); }
  void PumpMessages() override;

  // Answers for the next boxes, in order; without one a box gets its first button.
  std::deque<MsgAnswer> answers;
  std::vector<ShownBox> boxes;
  int beeps = 0;
  std::vector<bool> pointerHistory;
  std::vector<bool> workingHistory;  // the arrow with the hourglass
  // Runs on every PumpMessages, as a pending click would.
  std::function<void()> onPump;
  // Runs as each box appears, before it is answered: what the user does
  // meanwhile (swapping a floppy, closing a window). A non-empty answer
  // replaces the scripted one.
  std::function<std::optional<MsgAnswer>(const ShownBox&)> onBox;

 private:
  std::optional<MsgAnswer> asking_;  // the stated answer of the question being asked
};

// A removable disk that can be put into a drive of the fake file system and
// taken out again with its files and label.
struct FakeDisk {
  std::string label;
  std::map<std::string, std::string> files;  // path below the root ("a.001") -> bytes
  std::set<std::string> folders;             // folders below the root
  std::optional<uint64_t> capacity;          // bytes its files may hold in all
  bool writeProtected = false;
  // The next n files written to it keep a wrong first byte (a bad sector).
  int corruptWrites = 0;
};

// The kinds of file operation a test can make fail. A failing List finds
// nothing, as a directory search that cannot start.
enum class FakeOp {
  Open,
  Read,
  Write,
  CreateFolder,
  Delete,
  Rename,
  SetAttributes,
  SetTimes,
  List
};

// The system's error codes the fake file system fails with, numbered as
// Windows numbers them.
namespace code {
constexpr uint32_t FileNotFound = 2;
constexpr uint32_t PathNotFound = 3;
constexpr uint32_t AccessDenied = 5;
constexpr uint32_t InvalidHandle = 6;
constexpr uint32_t NotReady = 21;
constexpr uint32_t ReadFault = 30;
constexpr uint32_t SharingViolation = 32;
constexpr uint32_t HandleEof = 38;
constexpr uint32_t FileExists = 80;
constexpr uint32_t DiskFull = 112;
constexpr uint32_t DirNotEmpty = 145;
constexpr uint32_t AlreadyExists = 183;
}  // namespace code

// For the fault matrices: the faults each kind of operation meets, with
// their codes. One that persists fails that operation and every later one
// of its kind (a disk that stays full).
struct FakeFaultKind {
  FakeOp op;
  FileFault fault;
  uint32_t code;
  bool persists = false;
};
inline constexpr FakeFaultKind kFakeFaultKinds[] = {
    {FakeOp::Open, FileFault::InUse, code::SharingViolation},
    {FakeOp::Open, FileFault::Denied, code::AccessDenied},
    {FakeOp::Open, FileFault::NotFound, code::FileNotFound},
    {FakeOp::Read, FileFault::Failed, code::ReadFault},
    {FakeOp::Write, FileFault::Failed, code::DiskFull},
    {FakeOp::Write, FileFault::Failed, code::DiskFull, true},
    {FakeOp::CreateFolder, FileFault::Denied, code::AccessDenied},
    {FakeOp::CreateFolder, FileFault::NotFound, code::PathNotFound},
    {FakeOp::Delete, FileFault::Denied, code::AccessDenied},
    {FakeOp::Delete, FileFault::NotFound, code::FileNotFound},
    {FakeOp::Rename, FileFault::InUse, code::SharingViolation},
    {FakeOp::Rename, FileFault::Denied, code::AccessDenied},
    {FakeOp::SetAttributes, FileFault::Denied, code::AccessDenied},
    {FakeOp::SetTimes, FileFault::Denied, code::AccessDenied},
    {FakeOp::List, FileFault::Denied, code::AccessDenied}};

class FakeFileSystem : public FileSystem {
 public:
  FakeFileSystem();
  std::vector<DirEntry> List(const std::string& pattern) override;
  FileRead<uint32_t> GetAttributes(const std::string& path) override;
  FileStatus SetAttributes(const std::string& path, uint32_t attributes) override;
  FileStatus Delete(const std::string& path) override;
  FileStatus Copy(const std::string& from, const std::string& to) override;
  FileStatus CreateFolder(const std::string& path) override;
  FileStatus RemoveFolder(const std::string& path) override;
  FileStatus DeleteWithoutFollowing(const std::string& path) override;
  FileStatus RemoveFolderWithoutFollowing(const std::string& path) override;
  FileRead<std::string> CreatePrivateFolder(const std::string& parent) override;
  FileStatus SetCurrentFolder(const std::string& path) override;
  std::string CurrentFolder() override { return current_; }
  FileRead<std::string> ReadAll(const std::string& path) override;
  FileStatus WriteAll(const std::string& path, const std::string& bytes) override;
  FileStatus Append(const std::string& path, const std::string& bytes) override;
  std::vector<std::optional<std::string>> ReadVersionStrings(
      const std::string& path, const std::vector<std::string>& names) override;
  FileRead<uint64_t> FileLength(const std::string& path) override;
  FileStatus MoveReplacing(const std::string& from, const std::string& to) override;
  FileStatus ChangeVolumeLabel(const std::string& root, const std::string& label) override;
  std::string ErrorText(uint32_t code) override {
    auto it = errorTexts.find(code);
    return it != errorTexts.end() ? it->second : "Errore " + std::to_string(code);
  }
  std::optional<DiskSpace> DiskSpaceOf(const std::string& root) override {
    auto it = drives.find(DriveLetter(root));
    return it == drives.end() ? std::nullopt : it->second.space;
  }
  std::optional<VolumeFacts> VolumeInformation(const std::string& root) override {
    auto it = drives.find(DriveLetter(root));
    return it == drives.end() ? std::nullopt : it->second.volume;
  }
  uint32_t DriveType(const std::string& root) override {
    auto it = drives.find(DriveLetter(root));
    return it == drives.end() ? 1 : it->second.type;  // 1: no such root
  }
  std::unique_ptr<OpenFile> OpenForReading(const std::string& path, FileStatus& status) override;
  std::unique_ptr<OpenFile> OpenForWriting(const std::string& path, FileStatus& status) override;
  std::unique_ptr<OpenFile> CreateNew(const std::string& path, FileStatus& status) override;
  std::unique_ptr<OpenFile> OpenToOverwrite(const std::string& path, FileStatus& status) override;
  FileRead<FileTimes> GetTimes(const std::string& path) override;
  FileStatus SetTimes(const std::string& path, const FileTimes& times) override;
  FileStatus ReplaceAtRestart(const std::string& from, const std::string& to) override;
  FileStatus CancelReplaceAtRestart(const std::string& from, const std::string& to) override;
  // Replacements scheduled for the next start, in order: (from, to).
  std::vector<std::pair<std::string, std::string>> pendingRenames;
  // The folders CreatePrivateFolder made, by full path, in order.
  std::vector<std::string> privateFolders;

  // Drives whose label cannot be changed (ChangeVolumeLabel changes the label
  // in `drives`, for a drive with a volume).
  std::set<char> writeProtected;
  // What ErrorText says for each code the fake fails with.
  std::map<uint32_t, std::string> errorTexts = {
      {code::FileNotFound, "Impossibile trovare il file specificato."},
      {code::PathNotFound, "Impossibile trovare il percorso specificato."},
      {code::AccessDenied, "Accesso negato."},
      {code::ReadFault, "Errore di lettura."},
      {code::SharingViolation,
       "Impossibile accedere al file. Il file è utilizzato da un altro processo."},
      {code::DiskFull, "Spazio su disco insufficiente."}};
  // Drive facts by upper-case letter; an unlisted drive cannot be read and
  // has no root. A drive without `space` is one with no medium in it.
  struct Drive {
    uint32_t type = 3;
    std::optional<DiskSpace> space;
    std::optional<VolumeFacts> volume;
  };
  std::map<char, Drive> drives;
  static char DriveLetter(const std::string& root) {
    char c = root.empty() ? '\0' : root[0];
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }

  // Fault injection: the nth operation of a kind (counted from 1 since the
  // last Inject) fails with this status, and with `persists` every later
  // one of the kind too.
  void Inject(FakeOp op, int nth, FileStatus status, bool persists = false) {
    injected_ = Injection{op, nth, status, persists};
    operations_.clear();
  }
  void Inject(const FakeFaultKind& kind, int nth) {
    Inject(kind.op, nth, {kind.fault, kind.code}, kind.persists);
  }
  // How many operations of the kind ran since the last Inject (or ever).
  int Operations(FakeOp op) { return operations_[op]; }

  // Puts `disk` into the drive (a removable drive, type 2), after taking out
  // the disk that was there; its files and label go back into that disk.
  // Null leaves the drive without a disk: nothing on it can be read or written.
  void InsertDisk(char drive, FakeDisk* disk);

  // Test set-up: files and folders with their parents, by full path.
  void AddFile(const std::string& path, const std::string& bytes = {}, uint32_t attributes = 0);
  void AddFolder(const std::string& path);
  // A junction at `path` leading to the folder `target`: paths through it
  // reach the target's entries, while the link itself is an entry of its own
  // (a folder with the reparse-point attribute) that holds nothing.
  void AddLink(const std::string& path, const std::string& target);
  // Gives an existing file a version resource whose first translation holds
  // these strings (name -> value as stored); a copy of the file carries it.
  void SetVersionStrings(const std::string& path, const std::map<std::string, std::string>& strings);
  // A locked file cannot be opened, deleted, replaced or written.
  void Lock(const std::string& path) { locked_.insert(Key(Absolute(path))); }
  bool Exists(const std::string& path) { return nodes_.count(Key(Absolute(path))) != 0; }
  std::string Content(const std::string& path);
  // Names of a folder's entries, in listing order.
  std::vector<std::string> Names(const std::string& folder);

 private:
  struct Node {
    std::string path;  // absolute, with the case it was created with
    bool folder = false;
    uint32_t attributes = 0;
    std::string bytes;
    // Version resource strings by upper-case name; none without a resource.
    std::optional<std::map<std::string, std::string>> version = std::nullopt;
    FileTimes times{};
    std::optional<std::string> link = std::nullopt;  // a junction's target, absolute
  };
  friend class FakeOpenFile;
  // The full path as written, "." and ".." folded.
  std::string Lexical(const std::string& path) const;
  // The full path that Windows reaches: links on the way are followed.
  std::string Absolute(const std::string& path) const;
  // List without counting or failing, for the test's own look.
  std::vector<DirEntry> Listing(const std::string& pattern);
  // Whether a folder on the way to a full path is a link.
  bool LinkOnTheWay(const std::string& lexical) const;
  static std::string Key(const std::string& absolute);
  static std::string Parent(const std::string& absolute);
  Node* Find(const std::string& path);
  // Whether a file may be written at the path; why not when it may not.
  FileStatus Writable(const std::string& path);
  // The disk in the drive of an absolute path, if it is a removable one.
  FakeDisk* DiskOf(const std::string& absolute);
  bool Protected(const std::string& absolute);
  // Whether the drive has room for the file at this size.
  FileStatus RoomFor(const std::string& absolute, uint64_t size);

  // Counts an operation; the injected failure when it is the one that is to
  // fail, success otherwise.
  FileStatus Injected(FakeOp op);
  struct Injection {
    FakeOp op;
    int nth;
    FileStatus status;
    bool persists;
  };
  std::optional<Injection> injected_;
  std::map<FakeOp, int> operations_;

  std::map<char, FakeDisk*> disks_;

  std::map<std::string, Node> nodes_;
  int links_ = 0;
  std::set<std::string> locked_;
  std::string current_ = "C:\\";
};

class FakeRegistry : public Registry {
 public:
  int32_t OpenKey(uint32_t root, const std::string& path, uint32_t access, RegKey& key) override;
  int32_t QueryValue(RegKey key, const std::string& name, RegData& data) override;
  int32_t SetValue(RegKey key, const std::string& name, const RegData& data) override;
  int32_t CloseKey(RegKey key) override;

  void CreateKey(uint32_t root, const std::string& path);
  // A string value stored as the registry editor stores it: with its NUL.
  void PutString(uint32_t root, const std::string& path, const std::string& name,
                 const std::string& text);
  void Put(uint32_t root, const std::string& path, const std::string& name, const RegData& data);
  const RegData* Get(uint32_t root, const std::string& path, const std::string& name);
  bool KeyExists(uint32_t root, const std::string& path);
  // Keys that open but refuse writes.
  std::set<std::string> readOnlyKeys;
  int openKeys = 0;

 private:
  static std::string KeyName(uint32_t root, const std::string& path);
  std::map<std::string, std::map<std::string, RegData>> keys_;
  std::map<RegKey, std::string> handles_;
  RegKey next_ = 100;
};

class FakeShell : public Shell {
 public:
  explicit FakeShell(FakeFileSystem& files) : files_(files) {}
  std::optional<std::string> SpecialFolder(int code) override;
  std::string SystemFolder() override { return systemFolder; }
  std::string WindowsFolder() override { return windowsFolder; }
  std::string Wow64SystemFolder() override { return wow64SystemFolder; }
  bool WriteShortcut(const ShortcutFile& link) override;

  std::map<int, std::string> folders;  // CSIDL code -> folder without "\"
  std::string systemFolder = "C:\\WINDOWS\\SYSTEM32";
  std::string windowsFolder = "C:\\WINDOWS";
  std::string wow64SystemFolder;  // empty: not a 32-bit program on 64-bit Windows
  std::vector<ShortcutFile> shortcuts;
  bool failShortcuts = false;

 private:
  FakeFileSystem& files_;
};

class FakeProcesses : public Processes {
 public:
  std::optional<uint32_t> RunAndWait(const std::string& commandLine) override;
  bool Start(const std::string& commandLine, bool minimized) override;
  std::optional<int32_t> CallEntryPoint(const std::string& libraryPath,
                                        const std::string& function) override {
    entryCalls.push_back(libraryPath + "!" + function);
    return entryPoint ? entryPoint(libraryPath, function) : std::nullopt;
  }
  std::vector<std::string> started;
  // Every entry point called, as "library path!function", in order.
  std::vector<std::string> entryCalls;
  // Stands in for the libraries' entry points; without it no library loads.
  std::function<std::optional<int32_t>(const std::string&, const std::string&)> entryPoint;
  // Programs started without waiting, in order, refused ones included.
  struct Launch {
    std::string commandLine;
    bool minimized;
  };
  std::vector<Launch> launched;
  // Stands in for the started program; without it nothing can be started.
  std::function<bool(const std::string&)> program;
  uint32_t exitCode = 0;  // what a started program ends with
};

class FakePlatform : public Platform {
 public:
  bool IsNT() override { return nt; }
  CalendarDate Today() override { return today; }
  int CleanBootMode() override { return cleanBoot; }
  std::string ProgramPath() override { return programPath; }
  std::string UpperCase(const std::string& text) override;
  std::string LowerCase(const std::string& text) override;
  std::string FromAnsi(const std::string& bytes) override;
  std::string ToAnsi(const std::string& text) override;
  std::optional<std::string> LocaleValue(uint32_t type) override;
  bool SetLocaleValue(uint32_t type, const std::string& value) override;
  void BroadcastFontChange() override { ++fontChangeBroadcasts; }
  [[noreturn]] void ExitProgram(int code) override { throw ProgramEnded{code}; }
  PrivilegeStep AdjustShutdownPrivilege(bool enable) override {
    privilegeCalls.push_back(enable);
    if (privilegeFailure != PrivilegeStep::Done) return privilegeFailure;
    shutdownPrivilegeEnabled = enable;
    return PrivilegeStep::Done;
  }
  bool RequestWindowsExit(uint32_t flags) override {
    exitRequests.push_back({flags, shutdownPrivilegeEnabled});
    return !refuseExit;
  }

  bool nt = true;
  int cleanBoot = 0;
  CalendarDate today{2026, 12, 7};
  std::string programPath = "C:\\Setup\\Installer.exe";
  std::map<uint32_t, std::string> locale;
  bool localeReadOnly = false;
  int fontChangeBroadcasts = 0;
  // Every SetLocaleValue call in order, refused ones included.
  std::vector<std::pair<uint32_t, std::string>> localeWrites;
  // Shutdown privilege: every adjustment asked for (true = enable), the step
  // that fails (Done: none) and whether it is enabled now.
  std::vector<bool> privilegeCalls;
  PrivilegeStep privilegeFailure = PrivilegeStep::Done;
  bool shutdownPrivilegeEnabled = false;
  // Every request to end Windows, with the privilege's state at the time.
  struct ExitRequest {
    uint32_t flags;
    bool privileged;
  };
  std::vector<ExitRequest> exitRequests;
  bool refuseExit = false;
};

// One fake Windows, handed to the code under test as Services.
struct FakeSystem {
  FakeUi ui;
  FakeFileSystem files;
  FakeRegistry registry;
  FakeShell shell{files};
  FakeProcesses processes;
  FakePlatform platform;
  Services services() { return Services{ui, files, registry, shell, processes, platform}; }
};

}  // namespace tessaro::fakes
