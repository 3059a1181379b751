#include "copy_progress.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <set>
#include <vector>

#include "kvb_texts.h"
#include "number_format.h"

namespace tessaro::kvb {

namespace {

constexpr int kPartialBar = 0;
constexpr int kTotalBar = 1;

void DrawPercent(SplitView& view, Services& sys, int bar, int64_t percent) {
  // An overshooting total (piece files carry 14 bytes more than their share)
  // is DrawProgress's to show; only keep the value in range of its type.
  const auto value =
      static_cast<int32_t>(std::clamp<int64_t>(percent, 0, std::numeric_limits<int32_t>::max()));
  DrawProgress(view.StatusBar(bar), sys.ui, value, 100);
}

// The four updates that come before each block.
void ShowProgress(SplitView& view, Services& sys, ByteCounters& counters, int64_t done,
                  int64_t length, int64_t block) {
  counters.CopiedBytes += block;
  DrawPercent(view, sys, kPartialBar, RoundedPercent(done, length));
  view.SetStatusText(kvb_texts::kBytesCopied +
                     FormatGroupedOrBlank(counters.CopiedBytes, ThousandsSeparator(sys.platform)));
  DrawPercent(view, sys, kTotalBar, RoundedPercent(counters.CopiedBytes, counters.TotalBytes));
}

bool IsBrowserLibrary(const std::string& path) {
  return path.find("URLMON.DLL") != std::string::npos ||
         path.find("WININET.DLL") != std::string::npos;
}

}  // namespace

int64_t RoundedPercent(int64_t part, int64_t whole) {
  if (whole <= 0) return 0;
  const int64_t scaled = part * 100;
  int64_t quotient = scaled / whole;
  const int64_t twiceRest = (scaled % whole) * 2;
  if (twiceRest > whole || (twiceRest == whole && quotient % 2 != 0)) ++quotient;
  return quotient;
}

namespace {

struct Streamed {
  FileStatus status;
  CopySide side = CopySide::None;  // of the failing call
};

// The copy's loop: `in` to `out` in blocks of 32,000 bytes, the four updates
// before each block, each block shown to `seen` once read.
Streamed Stream(SplitView& view, Services& sys, ByteCounters& counters, OpenFile& in,
                OpenFile& out, const BlockSink& seen) {
  const auto length = static_cast<int64_t>(in.Length());
  std::vector<char> buffer(kBlockSize);
  for (int64_t done = 0; done < length;) {
    const int64_t block = std::min<int64_t>(kBlockSize, length - done);
    done += block;
    ShowProgress(view, sys, counters, done, length, block);
    if (FileStatus read = in.Read(buffer.data(), static_cast<size_t>(block)); !read)
      return {read, CopySide::Source};
    if (seen) seen(buffer.data(), static_cast<size_t>(block));
    if (FileStatus written = out.Write(buffer.data(), static_cast<size_t>(block)); !written)
      return {written, CopySide::Target};
  }
  const bool sameLength = out.Length() == static_cast<uint64_t>(length);
  return {{}, sameLength ? CopySide::None : CopySide::Target};
}

void ShowFailure(Services& sys, const FileStatus& status) {
  sys.ui.ShowMessage(sys.files.ErrorText(status.code), kvb_texts::kProgramTitle, MsgIcon::Critical,
                     MsgButtons::Ok);
}

// Collects what is written to it.
class StringSink : public OpenFile {
 public:
  explicit StringSink(std::string& into) : into_(into) {}
  FileStatus Read(char*, size_t) override { return {FileFault::Denied, 0}; }
  FileStatus Write(const char* buffer, size_t size) override {
    into_.append(buffer, size);
    return {};
  }
  uint64_t Length() override { return into_.size(); }

 private:
  std::string& into_;
};

// Copies to `target` the file `source`, or `bytes` when given, then reads
// the copy back from the floppy and compares. A failed copy is counted as if
// it had not happened.
bool CopyVerified(SplitView& view, Services& sys, ByteCounters& counters, const std::string& source,
                  const std::string* bytes, const std::string& target) {
  auto open = [&](FileStatus& status) -> std::unique_ptr<OpenFile> {
    if (bytes) return std::make_unique<BytesFile>(*bytes);
    return sys.files.OpenForReading(source, status);
  };
  const int64_t before = counters.CopiedBytes;
  bool done = false;
  FileStatus status;
  {
    std::unique_ptr<OpenFile> in = open(status);
    std::unique_ptr<OpenFile> out = in ? sys.files.OpenForWriting(target, status) : nullptr;
    if (in && out) {
      const Streamed copied = Stream(view, sys, counters, *in, *out, {});
      status = copied.status;
      done = status && copied.side == CopySide::None;
    }
  }
  if (!status) ShowFailure(sys, status);
  if (done) {
    std::unique_ptr<OpenFile> original = open(status);
    if (!original || !ReadBackMatches(view, sys, counters, *original, target)) {
      sys.ui.ShowMessage(kvb_texts::kVerifyFailed, kvb_texts::kProgramTitle, MsgIcon::Critical,
                         MsgButtons::Ok);
      done = false;
    }
  }
  if (!done) counters.CopiedBytes = before;
  return done;
}

}  // namespace

FileStatus BytesFile::Read(char* buffer, size_t size) {
  if (bytes_.size() - at_ < size) return {FileFault::Failed, 0};
  std::copy_n(bytes_.data() + at_, size, buffer);
  at_ += size;
  return {};
}

CopyOutcome TrackedCopy(SplitView& view, Services& sys, ByteCounters& counters,
                        const std::string& source, const std::string& target,
                        const BlockSink& seen) {
  FileStatus status;
  Streamed copied{{}, CopySide::Source};
  {
    std::unique_ptr<OpenFile> in = sys.files.OpenForReading(source, status);
    std::unique_ptr<OpenFile> out;
    if (in) {
      copied.side = CopySide::Target;
      out = sys.files.OpenForWriting(target, status);
    }
    if (in && out) {
      copied = Stream(view, sys, counters, *in, *out, seen);
      status = copied.status;
      if (status) {
        out.reset();  // the target first, then the source
        return {copied.side == CopySide::None, copied.side};
      }
    }
    out.reset();
  }
  if (!((status.fault == FileFault::InUse || status.fault == FileFault::Denied) &&
        IsBrowserLibrary(source)))
    ShowFailure(sys, status);
  return {false, copied.side};
}

bool CopyWithProgress(SplitView& view, Services& sys, ByteCounters& counters,
                      const std::string& source, const std::string& target) {
  return TrackedCopy(view, sys, counters, source, target).done;
}

CopyOutcome ReadWithProgress(SplitView& view, Services& sys, ByteCounters& counters,
                             const std::string& source, std::string& into, const BlockSink& seen) {
  into.clear();
  FileStatus status;
  std::unique_ptr<OpenFile> in = sys.files.OpenForReading(source, status);
  Streamed read{status, CopySide::Source};
  if (in) {
    StringSink sink(into);
    read = Stream(view, sys, counters, *in, sink, seen);
  }
  if (!read.status) ShowFailure(sys, read.status);
  return {read.status && read.side == CopySide::None, read.side};
}

bool ReadBackMatches(SplitView& view, Services& sys, const ByteCounters& counters,
                     OpenFile& original, const std::string& copy) {
  FileStatus status;
  std::unique_ptr<OpenFile> back = sys.files.OpenForReadingFromMedium(copy, status);
  if (!back || back->Length() != original.Length()) return false;
  const auto length = static_cast<int64_t>(back->Length());
  std::vector<char> left(kBlockSize), right(kBlockSize);
  for (int64_t done = 0; done < length;) {
    const auto part = static_cast<size_t>(std::min<int64_t>(length - done, kBlockSize));
    done += static_cast<int64_t>(part);
    DrawPercent(view, sys, kPartialBar, RoundedPercent(done, length));
    DrawPercent(view, sys, kTotalBar, RoundedPercent(counters.CopiedBytes, counters.TotalBytes));
    if (!original.Read(left.data(), part) || !back->Read(right.data(), part) ||
        !std::equal(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(part), right.begin()))
      return false;
  }
  return true;
}

bool CopyToFloppy(SplitView& view, Services& sys, ByteCounters& counters, const std::string& source,
                  const std::string& target) {
  return CopyVerified(view, sys, counters, source, nullptr, target);
}

bool WriteToFloppy(SplitView& view, Services& sys, ByteCounters& counters,
                   const std::string& bytes, const std::string& target) {
  return CopyVerified(view, sys, counters, {}, &bytes, target);
}

void ClearDir(Services& sys, const std::string& folder) {
  if (folder.empty()) return;
  const std::string dir = folder.back() == '\\' ? folder : folder + "\\";
  FileSystem& files = sys.files;

  // Read-only, hidden and system files go with the rest; a file link goes as
  // a link.
  for (const DirEntry& e : files.List(dir + "*.*"))
    if (!e.IsFolder()) files.DeleteWithoutFollowing(dir + e.name);
  sys.ui.PumpMessages();

  // Then the subfolders, one tree at a time; the listing starts again after
  // each removal. A folder that will not go is not visited again.
  std::set<std::string> stuck;
  for (bool again = true; again;) {
    again = false;
    for (const DirEntry& e : files.List(dir + "*.*")) {
      if (e.name == "." || e.name == ".." || (e.attributes & (attr::Hidden | attr::System)))
        continue;
      if (!e.IsFolder()) {
        files.DeleteWithoutFollowing(dir + e.name);
        continue;
      }
      if (stuck.count(e.name)) continue;
      // A junction or folder link is removed as a link, never entered; a
      // folder that became one since the listing is refused by every
      // deletion inside it.
      if (!(e.attributes & attr::ReparsePoint)) ClearDir(sys, dir + e.name + "\\");
      if (!files.RemoveFolderWithoutFollowing(dir + e.name)) stuck.insert(e.name);
      sys.ui.PumpMessages();
      again = true;
      break;
    }
  }
}

}  // namespace tessaro::kvb
