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

}  // namespace

FakeFileSystem::FakeFileSystem() { AddFolder("C:\\"); }

std::string FakeFileSystem::Absolute(const std::string& path) const {
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

bool FakeFileSystem::Writable(const std::string& path) {
  std::string abs = Absolute(path);
  if (locked_.count(Key(abs))) return Refuse(FileFault::InUse);
  Node* node = Find(abs);
  if (node && (node->folder || (node->attributes & attr::ReadOnly))) return Refuse(FileFault::Denied);
  if (Protected(abs)) return Refuse(FileFault::Denied);
  Node* parent = Find(Parent(abs));
  return parent && parent->folder ? true : Refuse(FileFault::NotFound);
}

bool FakeFileSystem::Fails(FakeOp op) {
  const int n = ++operations_[op];
  if (!injected_ || injected_->op != op || injected_->nth != n) return false;
  failureText = injected_->text;
  lastFault_ = injected_->fault;
  return true;
}

FakeDisk* FakeFileSystem::DiskOf(const std::string& absolute) {
  auto it = disks_.find(DriveLetter(absolute));
  return it == disks_.end() ? nullptr : it->second;
}

bool FakeFileSystem::Protected(const std::string& absolute) {
  FakeDisk* disk = DiskOf(absolute);
  return disk && disk->writeProtected;
}

bool FakeFileSystem::RoomFor(const std::string& absolute, uint64_t size) {
  FakeDisk* disk = DiskOf(absolute);
  if (!disk || !disk->capacity) return true;
  const char drive = DriveLetter(absolute);
  uint64_t used = 0;
  for (auto& [key, node] : nodes_)
    if (!node.folder && DriveLetter(node.path) == drive && key != Key(absolute))
      used += node.bytes.size();
  return used + size <= *disk->capacity ? true : Refuse(FileFault::Failed);
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
  for (const DirEntry& e : List(Absolute(folder) + "\\*.*"))
    if (e.name != "." && e.name != "..") names.push_back(e.name);
  return names;
}

std::optional<uint32_t> FakeFileSystem::GetAttributes(const std::string& path) {
  Node* node = Find(path);
  if (!node) return std::nullopt;
  return node->attributes;
}

bool FakeFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  Node* node = Find(path);
  if (!node || Protected(Absolute(path))) return false;
  if (attributes == attr::Normal) attributes = 0;
  node->attributes = node->folder ? (attributes | attr::Directory) : attributes;
  if (!node->folder && node->attributes == 0) node->attributes = attr::Normal;
  return true;
}

bool FakeFileSystem::Delete(const std::string& path) {
  if (Fails(FakeOp::Delete)) return false;
  std::string abs = Absolute(path);
  Node* node = Find(abs);
  if (!node || node->folder || locked_.count(Key(abs)) || (node->attributes & attr::ReadOnly) ||
      Protected(abs))
    return false;
  nodes_.erase(Key(abs));
  return true;
}

bool FakeFileSystem::Copy(const std::string& from, const std::string& to) {
  if (Fails(FakeOp::Open) || Fails(FakeOp::Write)) return false;
  Node* source = Find(from);
  if (!source || source->folder || !Writable(to) || !RoomFor(Absolute(to), source->bytes.size()))
    return false;
  Node copy = *source;
  AddFile(to, copy.bytes, copy.attributes);
  Find(to)->version = std::move(copy.version);
  return true;
}

bool FakeFileSystem::CreateFolder(const std::string& path) {
  if (Fails(FakeOp::CreateFolder)) return false;
  std::string abs = Absolute(path);
  if (abs.size() <= 3 || Protected(abs)) return false;  // a drive cannot be made
  Node* parent = Find(Parent(abs));
  if (Find(abs) || !parent || !parent->folder) return false;
  nodes_[Key(abs)] = Node{abs, true, attr::Directory, {}};
  return true;
}

bool FakeFileSystem::RemoveFolder(const std::string& path) {
  if (Fails(FakeOp::Delete)) return false;
  std::string abs = Absolute(path);
  Node* node = Find(abs);
  if (!node || !node->folder || abs.size() <= 3 || Protected(abs)) return false;
  for (auto& [key, other] : nodes_)
    if (Key(Parent(other.path)) == Key(abs)) return false;
  if (Key(current_).rfind(Key(abs), 0) == 0) return false;  // in use as current folder
  nodes_.erase(Key(abs));
  return true;
}

bool FakeFileSystem::SetCurrentFolder(const std::string& path) {
  std::string abs = Absolute(path);
  Node* node = Find(abs);
  if (!node || !node->folder) return false;
  current_ = node->path;
  return true;
}

std::optional<std::string> FakeFileSystem::ReadAll(const std::string& path) {
  if (Fails(FakeOp::Open) || Fails(FakeOp::Read)) return std::nullopt;
  Node* node = Find(path);
  if (!node || node->folder || locked_.count(Key(Absolute(path)))) return std::nullopt;
  return node->bytes;
}

bool FakeFileSystem::WriteAll(const std::string& path, const std::string& bytes) {
  if (Fails(FakeOp::Open) || Fails(FakeOp::Write)) return false;
  if (!Writable(path) || !RoomFor(Absolute(path), bytes.size())) return false;
  Node* node = Find(path);
  if (node) {
    node->bytes = bytes;
  } else {
    AddFile(path, bytes);
  }
  return true;
}

bool FakeFileSystem::Append(const std::string& path, const std::string& bytes) {
  if (Fails(FakeOp::Open) || Fails(FakeOp::Write)) return false;
  if (!Writable(path)) return false;
  Node* node = Find(path);
  if (!RoomFor(Absolute(path), (node ? node->bytes.size() : 0) + bytes.size())) return false;
  if (node) {
    node->bytes += bytes;
  } else {
    AddFile(path, bytes);
  }
  return true;
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

std::optional<uint64_t> FakeFileSystem::FileLength(const std::string& path) {
  Node* node = Find(path);
  if (!node || node->folder) return std::nullopt;
  return node->bytes.size();
}

bool FakeFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
  if (Fails(FakeOp::Rename)) return false;
  std::string source = Absolute(from);
  Node* node = Find(source);
  if (!node || node->folder) return Refuse(FileFault::NotFound);
  if (locked_.count(Key(source))) return Refuse(FileFault::InUse);
  if (!Writable(to)) return false;
  if (Key(source) == Key(Absolute(to))) return true;
  Node moved = *node;
  nodes_.erase(Key(source));
  moved.path = Absolute(to);
  nodes_[Key(moved.path)] = std::move(moved);
  return true;
}

bool FakeFileSystem::ChangeVolumeLabel(const std::string& root, const std::string& label) {
  auto it = drives.find(DriveLetter(root));
  if (it == drives.end() || !it->second.volume || writeProtected.count(it->first) ||
      Protected(root))
    return false;
  it->second.volume->label = label;
  return true;
}

// A file opened through OpenForReading or OpenForWriting; it works on the
// node by name, so a file deleted meanwhile fails the next transfer.
class FakeOpenFile : public OpenFile {
 public:
  FakeOpenFile(FakeFileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
  FileFault Read(char* buffer, size_t size) override {
    if (files_.Fails(FakeOp::Read)) return files_.lastFault_;
    FakeFileSystem::Node* node = files_.Find(path_);
    if (!node) return FileFault::Failed;
    if (node->bytes.size() - std::min(position_, node->bytes.size()) < size) return FileFault::Failed;
    std::copy_n(node->bytes.data() + position_, size, buffer);
    position_ += size;
    return FileFault::None;
  }
  FileFault Write(const char* buffer, size_t size) override {
    if (files_.Fails(FakeOp::Write)) return files_.lastFault_;
    FakeFileSystem::Node* node = files_.Find(path_);
    if (!node) return FileFault::Failed;
    const size_t end = std::max(node->bytes.size(), position_ + size);
    if (!files_.RoomFor(path_, end)) return FileFault::Failed;
    node = files_.Find(path_);
    if (node->bytes.size() < end) node->bytes.resize(end);
    std::copy_n(buffer, size, node->bytes.data() + position_);
    FakeDisk* disk = files_.DiskOf(path_);
    if (disk && disk->corruptWrites > 0 && position_ == 0 && size > 0) {
      node->bytes[0] = static_cast<char>(node->bytes[0] ^ 0x5A);
      --disk->corruptWrites;
    }
    position_ += size;
    return FileFault::None;
  }
  uint64_t Length() override {
    FakeFileSystem::Node* node = files_.Find(path_);
    return node ? node->bytes.size() : 0;
  }

 private:
  FakeFileSystem& files_;
  std::string path_;
  size_t position_ = 0;
};

std::unique_ptr<OpenFile> FakeFileSystem::OpenForReading(const std::string& path,
                                                         FileFault& fault) {
  if (Fails(FakeOp::Open)) {
    fault = lastFault_;
    return nullptr;
  }
  Node* node = Find(path);
  fault = !node                                 ? FileFault::NotFound
          : locked_.count(Key(Absolute(path))) ? FileFault::InUse
          : node->folder                        ? FileFault::Denied
                                                : FileFault::None;
  lastFault_ = fault;
  if (fault != FileFault::None) return nullptr;
  return std::make_unique<FakeOpenFile>(*this, Absolute(path));
}

std::unique_ptr<OpenFile> FakeFileSystem::OpenForWriting(const std::string& path,
                                                         FileFault& fault) {
  if (Fails(FakeOp::Open)) {
    fault = lastFault_;
    return nullptr;
  }
  std::string abs = Absolute(path);
  Node* node = Find(abs);
  Node* parent = Find(Parent(abs));
  fault = locked_.count(Key(abs))                                        ? FileFault::InUse
          : node && (node->folder || (node->attributes & attr::ReadOnly)) ? FileFault::Denied
          : Protected(abs)                                                ? FileFault::Denied
          : !parent || !parent->folder                                    ? FileFault::NotFound
                                                                          : FileFault::None;
  lastFault_ = fault;
  if (fault != FileFault::None) return nullptr;
  if (node)
    node->bytes.clear();
  else
    AddFile(abs);
  return std::make_unique<FakeOpenFile>(*this, abs);
}

std::optional<FileTimes> FakeFileSystem::GetTimes(const std::string& path) {
  Node* node = Find(path);
  if (!node) return std::nullopt;
  return node->times;
}

bool FakeFileSystem::SetTimes(const std::string& path, const FileTimes& times) {
  Node* node = Find(path);
  if (!node) return false;
  node->times = times;
  return true;
}

bool FakeFileSystem::ReplaceAtRestart(const std::string& from, const std::string& to) {
  pendingRenames.emplace_back(from, to);
  return true;
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
