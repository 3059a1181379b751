#include "fakes.h"

#include <algorithm>

#include "text.h"

namespace tessaro::fakes {

// ---- message boxes ----

MsgAnswer FakeUi::Ask(const std::string& text, const std::string& title, MsgIcon icon,
                      MsgButtons buttons, MsgAnswer unattended) {
  // Through ShowMessage, which a test's own fake may override.
  asking_ = unattended;
  return ShowMessage(text, title, icon, buttons);
}

MsgAnswer FakeUi::ShowMessage(const std::string& text, const std::string& title, MsgIcon icon,
                              MsgButtons buttons) {
  boxes.push_back({text, title, icon, buttons, std::exchange(asking_, std::nullopt)});
  if (onBox)
    if (auto answer = onBox(boxes.back())) return *answer;
  if (!answers.empty()) {
    MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgAnswer::Yes;
    case MsgButtons::RetryCancel: return MsgAnswer::Retry;
    case MsgButtons::AbortRetryIgnore: return MsgAnswer::Abort;
    default: return MsgAnswer::Ok;
  }
}

void FakeUi::PumpMessages() {
  if (onPump) onPump();
}

// ---- files ----

namespace {

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  // "*.*" matches every name, with or without a dot, as on Windows.
  if (pattern == "*.*" || pattern == "*") return true;
  size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string LastComponent(const std::string& absolute) {
  size_t slash = absolute.rfind('\\');
  return slash == std::string::npos ? absolute : absolute.substr(slash + 1);
}

// How the fake's calls fail, with the codes Windows gives for the same.
constexpr FileStatus kFileNotFound{FileFault::NotFound, code::FileNotFound};
constexpr FileStatus kPathNotFound{FileFault::NotFound, code::PathNotFound};
constexpr FileStatus kDenied{FileFault::Denied, code::AccessDenied};
constexpr FileStatus kInUse{FileFault::InUse, code::SharingViolation};
constexpr FileStatus kDiskFull{FileFault::Failed, code::DiskFull};
constexpr FileStatus kNotReady{FileFault::Failed, code::NotReady};
constexpr FileStatus kGone{FileFault::Failed, code::InvalidHandle};

}  // namespace

FakeFileSystem::FakeFileSystem() { AddFolder("C:\\"); }

std::string FakeFileSystem::Lexical(const std::string& path) const {
  std::string p = path;
  std::replace(p.begin(), p.end(), '/', '\\');
  std::string full;
  if (p.size() >= 2 && p[1] == ':') {
    full = p.size() == 2 ? p + "\\" : p;
    if (full[2] != '\\') full = full.substr(0, 2) + "\\" + full.substr(2);
  } else if (!p.empty() && p[0] == '\\') {
    full = current_.substr(0, 2) + p;
  } else {
    full = current_ + (current_.back() == '\\' ? "" : "\\") + p;
  }
  // Fold "." and ".." and doubled separators.
  std::vector<std::string> parts;
  size_t start = 3;
  std::string drive = UpperAscii(full.substr(0, 2));
  while (start <= full.size()) {
    size_t end = full.find('\\', start);
    if (end == std::string::npos) end = full.size();
    std::string part = full.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result = drive + "\\";
  for (size_t i = 0; i < parts.size(); ++i) result += (i ? "\\" : "") + parts[i];
  return result;
}

std::string FakeFileSystem::Absolute(const std::string& path) const {
  std::string abs = Lexical(path);
  if (!links_) return abs;
  // Every folder on the way that is a link stands for its target; the last
  // component stays itself.
  for (size_t slash = abs.find('\\', 3); slash != std::string::npos;
       slash = abs.find('\\', slash + 1)) {
    auto it = nodes_.find(Key(abs.substr(0, slash)));
    if (it == nodes_.end() || !it->second.link) continue;
    abs = *it->second.link + abs.substr(slash);
    slash = it->second.link->size();
  }
  return abs;
}

bool FakeFileSystem::LinkOnTheWay(const std::string& lexical) const {
  for (size_t slash = lexical.find('\\', 3); slash != std::string::npos;
       slash = lexical.find('\\', slash + 1)) {
    auto it = nodes_.find(Key(Absolute(lexical.substr(0, slash))));
    if (it != nodes_.end() && it->second.link) return true;
  }
  return false;
}

std::string FakeFileSystem::Key(const std::string& absolute) { return UpperLatin(absolute); }

std::string FakeFileSystem::Parent(const std::string& absolute) {
  size_t slash = absolute.rfind('\\');
  if (slash == std::string::npos || absolute.size() <= 3) return {};
  return slash == 2 ? absolute.substr(0, 3) : absolute.substr(0, slash);
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) {
  auto it = nodes_.find(Key(Absolute(path)));
  return it == nodes_.end() ? nullptr : &it->second;
}

FileStatus FakeFileSystem::Writable(const std::string& path) {
  std::string abs = Absolute(path);
  if (locked_.count(Key(abs))) return kInUse;
  Node* node = Find(abs);
  if (node && (node->folder || (node->attributes & attr::ReadOnly))) return kDenied;
  if (Protected(abs)) return kDenied;
  Node* parent = Find(Parent(abs));
  return parent && parent->folder ? FileStatus{} : kPathNotFound;
}

FileStatus FakeFileSystem::Injected(FakeOp op) {
  const int n = ++operations_[op];
  if (!injected_ || injected_->op != op || injected_->nth < 1) return {};
  if (injected_->nth != n && !(injected_->persists && n > injected_->nth)) return {};
  return injected_->status;
}

FakeDisk* FakeFileSystem::DiskOf(const std::string& absolute) {
  auto it = disks_.find(DriveLetter(absolute));
  return it == disks_.end() ? nullptr : it->second;
}

bool FakeFileSystem::Protected(const std::string& absolute) {
  FakeDisk* disk = DiskOf(absolute);
  return disk && disk->writeProtected;
}

FileStatus FakeFileSystem::RoomFor(const std::string& absolute, uint64_t size) {
  FakeDisk* disk = DiskOf(absolute);
  if (!disk || !disk->capacity) return {};
  const char drive = DriveLetter(absolute);
  uint64_t used = 0;
  for (auto& [key, node] : nodes_)
    if (!node.folder && DriveLetter(node.path) == drive && key != Key(absolute))
      used += node.bytes.size();
  return used + size <= *disk->capacity ? FileStatus{} : kDiskFull;
}

void FakeFileSystem::InsertDisk(char drive, FakeDisk* disk) {
  drive = DriveLetter(std::string(1, drive));
  const std::string root = std::string(1, drive) + ":\\";
  if (FakeDisk* out = disks_[drive]) {
    // The disk taken out keeps what was written to it.
    out->files.clear();
    out->folders.clear();
    for (auto& [key, node] : nodes_) {
      if (DriveLetter(node.path) != drive || node.path.size() <= 3) continue;
      std::string below = node.path.substr(3);
      if (node.folder)
        out->folders.insert(below);
      else
        out->files[below] = node.bytes;
    }
    if (drives[drive].volume) out->label = drives[drive].volume->label;
  }
  for (auto it = nodes_.begin(); it != nodes_.end();)
    it = DriveLetter(it->second.path) == drive ? nodes_.erase(it) : std::next(it);
  disks_[drive] = disk;
  Drive facts;
  facts.type = 2;
  if (disk) {
    const uint64_t room = disk->capacity.value_or(1457664);
    facts.space = DiskSpace{room, room, room};
    facts.volume = VolumeFacts{disk->label, "FAT"};
    AddFolder(root);
    for (const std::string& folder : disk->folders) AddFolder(root + folder);
    for (const auto& [name, bytes] : disk->files) AddFile(root + name, bytes);
  }
  drives[drive] = facts;
}

void FakeFileSystem::AddFolder(const std::string& path) {
  std::string abs = Absolute(path);
  std::string parent = Parent(abs);
  if (!parent.empty() && !Find(parent)) AddFolder(parent);
  if (!Find(abs)) nodes_[Key(abs)] = Node{abs, true, attr::Directory, {}};
}

void FakeFileSystem::AddLink(const std::string& path, const std::string& target) {
  std::string abs = Absolute(path);
  AddFolder(Parent(abs));
  AddFolder(target);
  nodes_[Key(abs)] = Node{abs, true, attr::Directory | attr::ReparsePoint, {}};
  nodes_[Key(abs)].link = Absolute(target);
  ++links_;
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& bytes,
                             uint32_t attributes) {
  std::string abs = Absolute(path);
  AddFolder(Parent(abs));
  nodes_[Key(abs)] = Node{abs, false, attributes ? attributes : attr::Archive, bytes};
}

std::string FakeFileSystem::Content(const std::string& path) {
  Node* node = Find(path);
  return node ? node->bytes : std::string();
}

std::vector<DirEntry> FakeFileSystem::List(const std::string& pattern) {
  if (!Injected(FakeOp::List)) return {};
  return Listing(pattern);
}

std::vector<DirEntry> FakeFileSystem::Listing(const std::string& pattern) {
  std::string abs = Absolute(pattern);
  std::string folder = Parent(abs);
  std::string namePattern = UpperLatin(LastComponent(abs));
  std::vector<DirEntry> out;
  Node* dir = Find(folder);
  if (folder.empty() || !dir || !dir->folder) return out;
  bool wild = namePattern.find_first_of("*?") != std::string::npos;
  if (wild && folder.size() > 3) {
    out.push_back({".", attr::Directory});
    out.push_back({"..", attr::Directory});
  }
  for (auto& [key, node] : nodes_) {
    if (node.path.size() <= 3 || Key(Parent(node.path)) != Key(folder)) continue;
    std::string name = LastComponent(node.path);
    if (WildcardMatch(namePattern, UpperLatin(name))) out.push_back({name, node.attributes});
  }
  return out;
}

std::vector<std::string> FakeFileSystem::Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const DirEntry& e : Listing(Absolute(folder) + "\\*.*"))
    if (e.name != "." && e.name != "..") names.push_back(e.name);
  return names;
}

FileRead<uint32_t> FakeFileSystem::GetAttributes(const std::string& path) {
  Node* node = Find(path);
  if (!node) return kFileNotFound;
  return node->attributes;
}

FileStatus FakeFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  if (FileStatus injected = Injected(FakeOp::SetAttributes); !injected) return injected;
  Node* node = Find(path);
  if (!node) return kFileNotFound;
  if (Protected(Absolute(path))) return kDenied;
  if (attributes == attr::Normal) attributes = 0;
  node->attributes = node->folder ? (attributes | attr::Directory) : attributes;
  if (!node->folder && node->attributes == 0) node->attributes = attr::Normal;
  return {};
}

FileStatus FakeFileSystem::Delete(const std::string& path) {
  if (FileStatus injected = Injected(FakeOp::Delete); !injected) return injected;
  std::string abs = Absolute(path);
  Node* node = Find(abs);
  if (!node) return kFileNotFound;
  if (locked_.count(Key(abs))) return kInUse;
  if (node->folder || (node->attributes & attr::ReadOnly) || Protected(abs)) return kDenied;
  nodes_.erase(Key(abs));
  return {};
}

FileStatus FakeFileSystem::Copy(const std::string& from, const std::string& to) {
  if (FileStatus injected = Injected(FakeOp::Open); !injected) return injected;
  if (FileStatus injected = Injected(FakeOp::Write); !injected) return injected;
  Node* source = Find(from);
  if (!source) return kFileNotFound;
  if (source->folder) return kDenied;
  if (FileStatus writable = Writable(to); !writable) return writable;
  if (FileStatus room = RoomFor(Absolute(to), source->bytes.size()); !room) return room;
  Node copy = *source;
  AddFile(to, copy.bytes, copy.attributes);
  Find(to)->version = std::move(copy.version);
  return {};
}

FileStatus FakeFileSystem::CreateFolder(const std::string& path) {
  if (FileStatus injected = Injected(FakeOp::CreateFolder); !injected) return injected;
  std::string abs = Absolute(path);
  if (abs.size() <= 3 || Protected(abs)) return kDenied;  // a drive cannot be made
  if (Find(abs)) return {FileFault::Failed, code::AlreadyExists};
  Node* parent = Find(Parent(abs));
  if (!parent || !parent->folder) return kPathNotFound;
  nodes_[Key(abs)] = Node{abs, true, attr::Directory, {}};
  return {};
}

FileStatus FakeFileSystem::RemoveFolder(const std::string& path) {
  if (FileStatus injected = Injected(FakeOp::Delete); !injected) return injected;
  std::string abs = Absolute(path);
  Node* node = Find(abs);
  if (!node) return kPathNotFound;
  if (!node->folder || abs.size() <= 3 || Protected(abs)) return kDenied;
  for (auto& [key, other] : nodes_)
    if (Key(Parent(other.path)) == Key(abs)) return {FileFault::Failed, code::DirNotEmpty};
  if (Key(current_).rfind(Key(abs), 0) == 0) return kInUse;  // in use as current folder
  nodes_.erase(Key(abs));
  return {};
}

FileStatus FakeFileSystem::DeleteWithoutFollowing(const std::string& path) {
  if (FileStatus injected = Injected(FakeOp::Delete); !injected) return injected;
  const std::string abs = Lexical(path);
  if (LinkOnTheWay(abs)) return kDenied;
  Node* node = Find(abs);
  if (!node) return kFileNotFound;
  if (locked_.count(Key(abs))) return kInUse;  // not opened: nothing changes
  if (node->link) {
    nodes_.erase(Key(abs));
    return {};
  }
  // Read-only, hidden and system are cleared on the way.
  if (node->folder || Protected(abs)) return kDenied;
  nodes_.erase(Key(abs));
  return {};
}

FileStatus FakeFileSystem::RemoveFolderWithoutFollowing(const std::string& path) {
  const std::string abs = Lexical(path);
  if (LinkOnTheWay(abs)) {
    Injected(FakeOp::Delete);
    return kDenied;
  }
  // RemoveFolder already removes a link as a link.
  return RemoveFolder(abs);
}

FileRead<std::string> FakeFileSystem::CreatePrivateFolder(const std::string& parent) {
  for (int n = 1;; ++n) {
    const std::string path = Absolute(parent) + "\\Privata" + std::to_string(n);
    if (Find(path)) continue;
    if (FileStatus made = CreateFolder(path); !made) return made;
    privateFolders.push_back(path);
    return path;
  }
}

FileStatus FakeFileSystem::SetCurrentFolder(const std::string& path) {
  std::string abs = Absolute(path);
  Node* node = Find(abs);
  if (!node || !node->folder) return kPathNotFound;
  current_ = node->path;
  return {};
}

FileRead<std::string> FakeFileSystem::ReadAll(const std::string& path) {
  if (FileStatus injected = Injected(FakeOp::Open); !injected) return injected;
  if (FileStatus injected = Injected(FakeOp::Read); !injected) return injected;
  Node* node = Find(path);
  if (!node) return kFileNotFound;
  if (node->folder) return kDenied;
  if (locked_.count(Key(Absolute(path)))) return kInUse;
  return node->bytes;
}

FileStatus FakeFileSystem::WriteAll(const std::string& path, const std::string& bytes) {
  if (FileStatus injected = Injected(FakeOp::Open); !injected) return injected;
  if (FileStatus injected = Injected(FakeOp::Write); !injected) return injected;
  if (FileStatus writable = Writable(path); !writable) return writable;
  if (FileStatus room = RoomFor(Absolute(path), bytes.size()); !room) return room;
  Node* node = Find(path);
  if (node) {
    node->bytes = bytes;
  } else {
    AddFile(path, bytes);
  }
  return {};
}

FileStatus FakeFileSystem::Append(const std::string& path, const std::string& bytes) {
  if (FileStatus injected = Injected(FakeOp::Open); !injected) return injected;
  if (FileStatus injected = Injected(FakeOp::Write); !injected) return injected;
  if (FileStatus writable = Writable(path); !writable) return writable;
  Node* node = Find(path);
  if (FileStatus room = RoomFor(Absolute(path), (node ? node->bytes.size() : 0) + bytes.size());
      !room)
    return room;
  if (node) {
    node->bytes += bytes;
  } else {
    AddFile(path, bytes);
  }
  return {};
}

void FakeFileSystem::SetVersionStrings(const std::string& path,
                                       const std::map<std::string, std::string>& strings) {
  Node* node = Find(path);
  if (!node || node->folder) return;
  node->version.emplace();
  for (const auto& [name, value] : strings) (*node->version)[UpperAscii(name)] = value;
}

std::vector<std::optional<std::string>> FakeFileSystem::ReadVersionStrings(
    const std::string& path, const std::vector<std::string>& names) {
  std::vector<std::optional<std::string>> values;
  Node* node = Find(path);
  if (!node || !node->version) return values;
  for (const std::string& name : names) {
    auto it = node->version->find(UpperAscii(name));
    if (it == node->version->end())
      values.emplace_back();
    else
      values.emplace_back(it->second);
  }
  return values;
}

FileRead<uint64_t> FakeFileSystem::FileLength(const std::string& path) {
  Node* node = Find(path);
  if (!node) return kFileNotFound;
  if (node->folder) return kDenied;
  return node->bytes.size();
}

FileStatus FakeFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  if (FileStatus injected = Injected(FakeOp::Rename); !injected) return injected;
  std::string source = Absolute(from);
  Node* node = Find(source);
  if (!node || node->folder) return kFileNotFound;
  if (locked_.count(Key(source))) return kInUse;
  if (FileStatus writable = Writable(to); !writable) return writable;
  if (Key(source) == Key(Absolute(to))) return {};
  Node moved = *node;
  nodes_.erase(Key(source));
  moved.path = Absolute(to);
  nodes_[Key(moved.path)] = std::move(moved);
  return {};
}

FileStatus FakeFileSystem::ChangeVolumeLabel(const std::string& root, const std::string& label) {
  auto it = drives.find(DriveLetter(root));
  if (it == drives.end() || !it->second.volume) return kNotReady;
  if (writeProtected.count(it->first) || Protected(root)) return kDenied;
  it->second.volume->label = label;
  return {};
}

// A file opened through OpenForReading or OpenForWriting; it works on the
// node by name, so a file deleted meanwhile fails the next transfer.
class FakeOpenFile : public OpenFile {
 public:
  FakeOpenFile(FakeFileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
  FileStatus Read(char* buffer, size_t size) override {
    if (FileStatus injected = files_.Injected(FakeOp::Read); !injected) return injected;
    FakeFileSystem::Node* node = files_.Find(path_);
    if (!node) return kGone;
    if (node->bytes.size() - std::min(position_, node->bytes.size()) < size)
      return {FileFault::Failed, code::HandleEof};
    std::copy_n(node->bytes.data() + position_, size, buffer);
    position_ += size;
    return {};
  }
  FileStatus Write(const char* buffer, size_t size) override {
    if (FileStatus injected = files_.Injected(FakeOp::Write); !injected) return injected;
    FakeFileSystem::Node* node = files_.Find(path_);
    if (!node) return kGone;
    const size_t end = std::max(node->bytes.size(), position_ + size);
    if (FileStatus room = files_.RoomFor(path_, end); !room) return room;
    node = files_.Find(path_);
    if (node->bytes.size() < end) node->bytes.resize(end);
    std::copy_n(buffer, size, node->bytes.data() + position_);
    FakeDisk* disk = files_.DiskOf(path_);
    if (disk && disk->corruptWrites > 0 && position_ == 0 && size > 0) {
      node->bytes[0] = static_cast<char>(node->bytes[0] ^ 0x5A);
      --disk->corruptWrites;
    }
    position_ += size;
    return {};
  }
  uint64_t Length() override {
    FakeFileSystem::Node* node = files_.Find(path_);
    return node ? node->bytes.size() : 0;
  }
  FileStatus CutHere() override {
    FakeFileSystem::Node* node = files_.Find(path_);
    if (!node) return kGone;
    node->bytes.resize(std::min(node->bytes.size(), position_));
    return {};
  }

 private:
  FakeFileSystem& files_;
  std::string path_;
  size_t position_ = 0;
};

std::unique_ptr<OpenFile> FakeFileSystem::OpenForReading(const std::string& path,
                                                         FileStatus& status) {
  status = Injected(FakeOp::Open);
  if (!status) return nullptr;
  Node* node = Find(path);
  status = !node                                 ? kFileNotFound
           : locked_.count(Key(Absolute(path))) ? kInUse
           : node->folder                        ? kDenied
                                                 : FileStatus{};
  if (!status) return nullptr;
  return std::make_unique<FakeOpenFile>(*this, Absolute(path));
}

std::unique_ptr<OpenFile> FakeFileSystem::OpenForWriting(const std::string& path,
                                                         FileStatus& status) {
  status = Injected(FakeOp::Open);
  if (!status) return nullptr;
  std::string abs = Absolute(path);
  Node* node = Find(abs);
  status = Writable(abs);
  if (!status) return nullptr;
  if (node)
    node->bytes.clear();
  else
    AddFile(abs);
  return std::make_unique<FakeOpenFile>(*this, abs);
}

std::unique_ptr<OpenFile> FakeFileSystem::OpenToOverwrite(const std::string& path,
                                                          FileStatus& status) {
  Node* node = Find(path);
  const std::string kept = node ? node->bytes : std::string();
  std::unique_ptr<OpenFile> file = OpenForWriting(path, status);
  if (file) Find(path)->bytes = kept;
  return file;
}

std::unique_ptr<OpenFile> FakeFileSystem::CreateNew(const std::string& path, FileStatus& status) {
  status = Injected(FakeOp::Open);
  if (!status) return nullptr;
  std::string abs = Absolute(path);
  if (Find(abs)) status = {FileFault::Exists, code::FileExists};
  if (status) status = Writable(abs);
  if (!status) return nullptr;
  AddFile(abs);
  return std::make_unique<FakeOpenFile>(*this, abs);
}

FileRead<FileTimes> FakeFileSystem::GetTimes(const std::string& path) {
  Node* node = Find(path);
  if (!node) return kFileNotFound;
  return node->times;
}

FileStatus FakeFileSystem::SetTimes(const std::string& path, const FileTimes& times) {
  if (FileStatus injected = Injected(FakeOp::SetTimes); !injected) return injected;
  Node* node = Find(path);
  if (!node) return kFileNotFound;
  node->times = times;
  return {};
}

FileStatus FakeFileSystem::ReplaceAtRestart(const std::string& from, const std::string& to) {
  pendingRenames.emplace_back(from, to);
  return {};
}

FileStatus FakeFileSystem::CancelReplaceAtRestart(const std::string& from, const std::string& to) {
  std::erase_if(pendingRenames, [&](const auto& rename) {
    return Key(Absolute(rename.first)) == Key(Absolute(from)) &&
           Key(Absolute(rename.second)) == Key(Absolute(to));
  });
  return {};
}

// ---- registry ----

std::string FakeRegistry::KeyName(uint32_t root, const std::string& path) {
  std::string p = path;
  while (!p.empty() && p.back() == '\\') p.pop_back();
  return std::to_string(root) + "\\" + UpperAscii(p);
}

void FakeRegistry::CreateKey(uint32_t root, const std::string& path) {
  keys_[KeyName(root, path)];
}

bool FakeRegistry::KeyExists(uint32_t root, const std::string& path) {
  return keys_.count(KeyName(root, path)) != 0;
}

void FakeRegistry::Put(uint32_t root, const std::string& path, const std::string& name,
                       const RegData& data) {
  keys_[KeyName(root, path)][UpperAscii(name)] = data;
}

void FakeRegistry::PutString(uint32_t root, const std::string& path, const std::string& name,
                             const std::string& text) {
  Put(root, path, name, RegData{regtype::String, text + std::string(1, '\0'), 0});
}

const RegData* FakeRegistry::Get(uint32_t root, const std::string& path, const std::string& name) {
  auto key = keys_.find(KeyName(root, path));
  if (key == keys_.end()) return nullptr;
  auto value = key->second.find(UpperAscii(name));
  return value == key->second.end() ? nullptr : &value->second;
}

int32_t FakeRegistry::OpenKey(uint32_t root, const std::string& path, uint32_t, RegKey& key) {
  key = 0;
  if (root < 0x80000000u || root > 0x80000006u) return 6;  // ERROR_INVALID_HANDLE
  std::string name = KeyName(root, path);
  if (!keys_.count(name)) return 2;  // ERROR_FILE_NOT_FOUND
  key = next_++;
  handles_[key] = name;
  ++openKeys;
  return 0;
}

int32_t FakeRegistry::QueryValue(RegKey key, const std::string& name, RegData& data) {
  auto handle = handles_.find(key);
  if (handle == handles_.end()) return 6;
  auto& values = keys_[handle->second];
  auto value = values.find(UpperAscii(name));
  if (value == values.end()) return 2;
  data = value->second;
  return 0;
}

int32_t FakeRegistry::SetValue(RegKey key, const std::string& name, const RegData& data) {
  auto handle = handles_.find(key);
  if (handle == handles_.end()) return 6;
  if (readOnlyKeys.count(handle->second)) return 5;  // ERROR_ACCESS_DENIED
  RegData stored = data;
  // As the Win32 layer does: a string is stored with its terminating NUL.
  if (stored.type == regtype::String && (stored.text.empty() || stored.text.back() != '\0'))
    stored.text += '\0';
  keys_[handle->second][UpperAscii(name)] = stored;
  return 0;
}

int32_t FakeRegistry::CloseKey(RegKey key) {
  if (!handles_.erase(key)) return 6;
  --openKeys;
  return 0;
}

// ---- shell, processes, platform ----

std::optional<std::string> FakeShell::SpecialFolder(int code) {
  auto it = folders.find(code);
  if (it == folders.end()) return std::nullopt;
  return it->second;
}

bool FakeShell::WriteShortcut(const ShortcutFile& link) {
  if (failShortcuts) return false;
  if (!files_.WriteAll(link.path, "[link] " + link.target)) return false;
  shortcuts.push_back(link);
  return true;
}

std::optional<uint32_t> FakeProcesses::RunAndWait(const std::string& commandLine) {
  started.push_back(commandLine);
  if (program && program(commandLine)) return exitCode;
  return std::nullopt;
}

bool FakeProcesses::Start(const std::string& commandLine, bool minimized) {
  launched.push_back({commandLine, minimized});
  return program ? program(commandLine) : false;
}

std::string FakePlatform::UpperCase(const std::string& text) { return UpperLatin(text); }
std::string FakePlatform::LowerCase(const std::string& text) { return LowerLatin(text); }
std::string FakePlatform::FromAnsi(const std::string& bytes) { return Cp1252ToUtf8(bytes); }
std::string FakePlatform::ToAnsi(const std::string& text) { return Utf8ToCp1252(text); }

std::optional<std::string> FakePlatform::LocaleValue(uint32_t type) {
  auto it = locale.find(type);
  if (it == locale.end()) return std::nullopt;
  return it->second;
}

bool FakePlatform::SetLocaleValue(uint32_t type, const std::string& value) {
  localeWrites.emplace_back(type, value);
  if (localeReadOnly) return false;
  locale[type] = value;
  return true;
}

}  // namespace tessaro::fakes
