#include "engine/copy_with_progress.h"

#include <cmath>
#include <vector>

#include "engine/deferred_replacement.h"
#include "number_format.h"
#include "path_split.h"
#include "settings/setup_folder.h"
#include "text.h"
#include "texts.h"

namespace tessaro {

namespace {

// A percentage for DrawProgress; an overshoot stays above 100 (the bar shows
// 99%), bounded so that a tiny package size cannot overflow the integer.
int32_t PercentValue(double percent) {
  return RoundToInt32(std::fmin(std::fmax(percent, 0.0), 1e9));
}

// What stays the same through the blocks of one file.
struct FileCopy {
  const std::string& source;
  uint64_t length;
  std::string separator;  // the user's thousands separator
};

void ShowProgress(InstallerContext& cx, CopyView& view, const FileCopy& file, uint64_t copied,
                  bool firstBlock) {
  // The file's name goes up with its first block and stays: the same text
  // once per block would only repaint the label. The Access runtime's files
  // leave the previous name on it.
  if (firstBlock && file.source.find("MSACCESS") == std::string::npos)
    view.SetStatusText(0,
                       texts::kCopyingFile + cx.sys.platform.LowerCase(FileNamePart(file.source)));
  DrawProgress(view.Bar(0), cx.sys.ui,
               PercentValue(static_cast<double>(copied) * 100 / static_cast<double>(file.length)),
               100);

  // A package that declares no size has no overall share to show.
  const int32_t packageBytes = cx.pkg().PackageBytes;
  const double overall = packageBytes > 0 ? cx.state.BytesCopied * 100 / packageBytes : 0;
  view.SetStatusText(1,
                     texts::kBytesCopied +
                         FormatGroupedOrBlank(std::llround(cx.state.BytesCopied), file.separator));
  DrawProgress(view.Bar(1), cx.sys.ui, PercentValue(overall), 100);
}

// How a copy went, besides its fault.
struct Transfer {
  bool sameLength = false;  // both files ended up equally long
  bool stamped = false;     // the destination took normal attributes and the
                            // installer's times
};

// A copy cut short by a cancel: its files were closed under it.
constexpr FileStatus kCancelled{FileFault::Failed, 0};

// Moves the bytes into a destination it creates, which must not exist: a
// name taken meanwhile is never opened and emptied. `created` hears of the
// new file before its first byte; when it answers false the file goes again
// and the copy fails. The status of the call that stopped it, or success.
// With `times`, a completed copy takes them and normal attributes before its
// destination is closed; the destination is closed before the source.
FileStatus TransferInBlocks(InstallerContext& cx, CopyView& view, const std::string& source,
                            const std::string& destination, const std::optional<FileTimes>& times,
                            const CreatedFile& created, Transfer& done) {
  FileSystem& files = cx.sys.files;
  FileStatus status;
  // Both files are closed on every way out, the cancel handler's included.
  struct Closer {
    InstallerState& state;
    ~Closer() { CloseCopyFiles(state); }
  } closer{cx.state};
  cx.state.CopySource = files.OpenForReading(source, status);
  OpenFile* in = cx.state.CopySource.get();
  if (!in) return status;
  const FileCopy file{source, in->Length(), ThousandsSeparator(cx.sys.platform)};
  cx.state.CopyDestination = files.CreateNew(destination, status);
  OpenFile* out = cx.state.CopyDestination.get();
  if (!out) return status;
  if (created && !created(destination)) {
    cx.state.CopyDestination.reset();
    files.Delete(destination);
    return {FileFault::Failed, 0};
  }

  // The block count is not held in 16 bits: past 32767 full blocks (about
  // 1 GB) it would overflow after the old copy was already deleted.
  const uint64_t fullBlocks = file.length / kCopyBlockSize;
  const size_t remainder = static_cast<size_t>(file.length % kCopyBlockSize);
  std::vector<char> buffer(fullBlocks ? kCopyBlockSize : remainder);
  uint64_t copied = 0;
  for (uint64_t block = 0; block < fullBlocks + (remainder ? 1 : 0); ++block) {
    const size_t size = block < fullBlocks ? kCopyBlockSize : remainder;
    copied += size;
    cx.state.BytesCopied += static_cast<double>(size);
    ShowProgress(cx, view, file, copied, block == 0);
    // Drawing lets window messages run; a cancel there has closed the files.
    if (!cx.state.CopySource || !cx.state.CopyDestination) return kCancelled;
    if (!(status = in->Read(buffer.data(), size))) return status;
    if (!(status = out->Write(buffer.data(), size))) return status;
  }
  done.sameLength = in->Length() == out->Length();
  // After the last write, which would move the last-write time again.
  if (times) done.stamped = out->SetTimesAndAttributes(*times, attr::Normal);
  cx.state.CopyDestination.reset();
  return {};
}

// Why a copy failed, for the transcript, with the system's own words for the
// failing call's code when there is one.
std::string FaultText(FileSystem& files, const FileStatus& failure) {
  std::string text = failure.fault == FileFault::NotFound ? "file non trovato"
                                                          : "errore di lettura o scrittura";
  const std::string system = failure.code ? TrimBlanks(files.ErrorText(failure.code)) : "";
  return system.empty() ? text : text + ": " + system;
}

// An existing file is replaced by a whole copy only: the bytes go to a
// numbered sibling, which then moves over it. A copy that fails or is
// cancelled part-way leaves the old file as it was, not deleted or cut short.
FileStatus ReplaceWhole(InstallerContext& cx, CopyView& view, const std::string& source,
                        const std::string& destination, const std::optional<FileTimes>& times,
                        Transfer& done, bool& deferred) {
  FileSystem& files = cx.sys.files;
  const std::string scratch = NextFreeNumberedName(files, destination);
  cx.state.CopyScratch = scratch;  // the cancel handler deletes it
  FileStatus status = TransferInBlocks(cx, view, source, scratch, times, nullptr, done);
  cx.state.CopyScratch.clear();
  if (status && done.sameLength) {
    status = MoveOverExisting(files, scratch, destination);
    if (status) return status;
    // Held by a running program: the whole copy waits for the next start.
    if ((status.fault == FileFault::InUse || status.fault == FileFault::Denied) &&
        !NeverDeferred(source)) {
      deferred = true;
      ReplaceAtNextStart(cx, scratch, destination);
      // The old file stays the user's until then (hidden if it was), but not
      // read-only: the move at the next start would fail on that.
      const FileRead<uint32_t> attributes = files.GetAttributes(destination);
      if (attributes && (*attributes & attr::ReadOnly)) {
        const uint32_t kept = *attributes & ~attr::ReadOnly;
        files.SetAttributes(destination, kept ? kept : attr::Normal);
      }
      return status;
    }
  }
  files.Delete(scratch);
  done.sameLength = false;
  return status;
}

}  // namespace

FileStatus MoveOverExisting(FileSystem& files, const std::string& scratch,
                            const std::string& destination) {
  // Windows refuses to move over a read-only file.
  const FileRead<uint32_t> attributes = files.GetAttributes(destination);
  if (attributes) files.SetAttributes(destination, attr::Normal);
  const FileStatus status = files.MoveReplacing(scratch, destination);
  if (!status && attributes) files.SetAttributes(destination, *attributes);
  return status;
}

bool CopyKnown(InstallerContext& cx, CopyView& view, const std::string& source,
               const std::string& destination, bool present, const std::optional<FileTimes>& times,
               const CreatedFile& created, bool& stamped) {
  Transfer done;
  bool deferred = false;
  const FileStatus status =
      present ? ReplaceWhole(cx, view, source, destination, times, done, deferred)
              : TransferInBlocks(cx, view, source, destination, times, created, done);
  stamped = done.stamped;
  if (deferred) return false;
  switch (status.fault) {
    case FileFault::None:
      if (!done.sameLength)
        Note(cx, "non copiato: " + destination + " (la copia non ha la lunghezza dell'originale)");
      return done.sameLength;
    case FileFault::InUse:
    case FileFault::Denied:
      return DeferToRestart(cx, source, destination);
    default:
      // A missing source included; a partial new file stays.
      Note(cx, "non copiato: " + destination + " (" + FaultText(cx.sys.files, status) + ")");
      return false;
  }
}

bool CopyFileWithProgress(InstallerContext& cx, CopyView& view, const std::string& source,
                          const std::string& destination) {
  bool stamped = false;
  return CopyKnown(cx, view, source, destination, EntryExists(cx.sys.files, destination),
                   std::nullopt, nullptr, stamped);
}

}  // namespace tessaro
