#include "install_file.h"

#include <cmath>
#include <memory>
#include <vector>

#include "destination.h"
#include "errors.h"
#include "file_times.h"
#include "file_version.h"
#include "number_format.h"
#include "path_split.h"
#include "registration.h"
#include "setup_folder.h"
#include "special_folders.h"
#include "text.h"
#include "text_files.h"
#include "texts.h"

namespace tessaro {

namespace {

// Runtime error numbers the trap of InstallFile beeps for but shows no box.
constexpr int kFileAlreadyExists = 58;
constexpr int kPathFileAccessError = 75;

// Whole seconds of the last-write time, 0 for a file that cannot be read:
// the timestamp text compared as a date-time, without the round trip
// through text.
uint64_t LastWriteSeconds(FileSystem& files, const std::string& path) {
  auto times = files.GetTimes(path);
  return times ? times->lastWrite / 10'000'000 : 0;
}

// The rules for an existing destination that may be replaced.
bool SourceMayReplace(Services& sys, const std::string& type, const std::string& source,
                      const std::string& destination) {
  if (type == "DLL" || type == "OCX" || type == "EXE")
    return GetFileVersionNumber(sys, source) >= GetFileVersionNumber(sys, destination);
  if (type == "MDB")
    return LastWriteSeconds(sys.files, source) >= LastWriteSeconds(sys.files, destination);
  return true;
}

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

// Moves the bytes into a new or emptied destination; the fault that stopped
// it, or None. With `times`, a completed copy takes them and normal
// attributes before its destination is closed; the destination is closed
// before the source.
FileFault TransferInBlocks(InstallerContext& cx, CopyView& view, const std::string& source,
                           const std::string& destination, const std::optional<FileTimes>& times,
                           Transfer& done) {
  FileSystem& files = cx.sys.files;
  FileFault fault = FileFault::None;
  // Both files are closed on every way out, the cancel handler's included.
  struct Closer {
    InstallerState& state;
    ~Closer() { CloseCopyFiles(state); }
  } closer{cx.state};
  cx.state.CopySource = files.OpenForReading(source, fault);
  OpenFile* in = cx.state.CopySource.get();
  if (!in) return fault;
  const FileCopy file{source, in->Length(), ThousandsSeparator(cx.sys.platform)};
  cx.state.CopyDestination = files.OpenForWriting(destination, fault);
  OpenFile* out = cx.state.CopyDestination.get();
  if (!out) return fault;

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
    if (!cx.state.CopySource || !cx.state.CopyDestination) return FileFault::Failed;
    if ((fault = in->Read(buffer.data(), size)) != FileFault::None) return fault;
    if ((fault = out->Write(buffer.data(), size)) != FileFault::None) return fault;
  }
  done.sameLength = in->Length() == out->Length();
  // After the last write, which would move the last-write time again.
  if (times) done.stamped = out->SetTimesAndAttributes(*times, attr::Normal);
  cx.state.CopyDestination.reset();
  return FileFault::None;
}

// The last section header of an ini text, upper case; empty without one.
std::string LastSection(const std::string& text) {
  std::string section;
  LineReader reader(text);
  while (!reader.AtEnd()) {
    std::string line = TrimBlanks(reader.ReadLine());
    if (!line.empty() && line[0] == '[') section = UpperAscii(line);
  }
  return section;
}

// Adds "destination=temporary" to the [rename] section of the Windows
// folder's wininit.ini, which Windows 95/98/Me carry out at their next start.
void AddRenameLine(Services& sys, const std::string& line) {
  FileSystem& files = sys.files;
  const std::string path = GetWindowsFolder(sys) + "\\wininit.ini";
  if (!files.GetAttributes(path)) {
    WriteTextLines(files, sys.platform, path, {texts::kRenameSection, line});
    return;
  }
  // The line is meant to end the [rename] section: a file that ends in
  // another section (or has none) gets the header again, and a last line
  // without its line break gets one, so the new line stays a line of its own.
  std::string lines;
  if (auto bytes = files.ReadAll(path)) {
    const std::string text = sys.platform.FromAnsi(*bytes);
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') lines += "\r\n";
    if (LastSection(text) != UpperAscii(texts::kRenameSection))
      lines += std::string(texts::kRenameSection) + "\r\n";
  }
  files.Append(path, sys.platform.ToAnsi(lines + line + "\r\n"));
}

// Internet Explorer's own libraries are never replaced behind its back.
bool NeverDeferred(const std::string& source) {
  return source.find("URLMON.DLL") != std::string::npos ||
         source.find("WININET.DLL") != std::string::npos;
}

// `temporary`, a complete copy, takes the place of `destination` at the next
// start of Windows. Always false: the file is not installed now.
bool ReplaceAtNextStart(InstallerContext& cx, const std::string& temporary,
                        const std::string& destination) {
  AddRenameLine(cx.sys, destination + "=" + temporary);
  // NT-based Windows ignores wininit.ini; it keeps its own list of renames.
  if (IsNTPlatform(cx.sys.platform)) cx.sys.files.ReplaceAtRestart(temporary, destination);
  cx.state.RestartNeeded = true;
  Note(cx, "al riavvio: " + destination + " (in uso; sarà sostituito da " + temporary +
               " al prossimo avvio di Windows)");
  return false;
}

// A destination that another program holds open is replaced at the next
// start of Windows. Always false: the file is not installed now.
bool DeferToRestart(InstallerContext& cx, const std::string& source,
                    const std::string& destination) {
  if (NeverDeferred(source)) {
    Note(cx, "non sostituito: " + destination + " (in uso; è una libreria di Internet Explorer)");
    return false;
  }
  FileSystem& files = cx.sys.files;
  const std::string temporary = NextFreeNumberedName(files, destination);
  // Without the temporary copy there is nothing to put in place.
  if (!files.Copy(source, temporary)) {
    Note(cx, "non copiato: " + destination + " (in uso, e la copia " + temporary +
                 " non è riuscita)");
    return false;
  }
  return ReplaceAtNextStart(cx, temporary, destination);
}

}  // namespace

std::string NextFreeNumberedName(FileSystem& files, const std::string& path) {
  // Start of the last six characters (UTF-8 continuation bytes do not count).
  size_t start = path.size();
  for (int characters = 0; start > 0 && characters < 6;) {
    --start;
    if ((static_cast<unsigned char>(path[start]) & 0xC0) != 0x80) ++characters;
  }
  const size_t dot = path.find('.', start);
  const size_t slash = path.rfind('\\');
  // A "." that belongs to a folder, or none at all, would put the copy
  // elsewhere (in the current folder without a "."): extend the name instead.
  const std::string base = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                               ? path.substr(0, dot + 1)
                               : path + ".";
  for (unsigned number = 0;; ++number) {
    const std::string candidate = base + ZeroPadded(number, 3);
    if (!files.GetAttributes(candidate)) return candidate;
  }
}

namespace {

// Why a copy failed, for the transcript, with the system's own words when
// it gave some.
std::string FaultText(FileSystem& files, FileFault fault) {
  std::string text = fault == FileFault::NotFound ? "file non trovato"
                                                  : "errore di lettura o scrittura";
  const std::string system = TrimBlanks(files.LastErrorText());
  return system.empty() ? text : text + ": " + system;
}

// An existing file is replaced by a whole copy only: the bytes go to a
// numbered sibling, which then moves over it. A copy that fails or is
// cancelled part-way leaves the old file as it was, not deleted or cut short.
FileFault ReplaceWhole(InstallerContext& cx, CopyView& view, const std::string& source,
                       const std::string& destination, const std::optional<FileTimes>& times,
                       Transfer& done, bool& deferred) {
  FileSystem& files = cx.sys.files;
  const std::string scratch = NextFreeNumberedName(files, destination);
  cx.state.CopyScratch = scratch;  // the cancel handler deletes it
  FileFault fault = TransferInBlocks(cx, view, source, scratch, times, done);
  cx.state.CopyScratch.clear();
  if (fault == FileFault::None && done.sameLength) {
    const std::optional<uint32_t> attributes = files.GetAttributes(destination);
    files.SetAttributes(destination, attr::Normal);
    if (files.MoveReplacing(scratch, destination)) return FileFault::None;
    fault = files.LastFault();
    // Held by a running program: the whole copy waits for the next start.
    if ((fault == FileFault::InUse || fault == FileFault::Denied) && !NeverDeferred(source)) {
      deferred = true;
      ReplaceAtNextStart(cx, scratch, destination);
      return fault;
    }
    if (attributes) files.SetAttributes(destination, *attributes);
    if (fault == FileFault::None) fault = FileFault::Failed;
  }
  files.Delete(scratch);
  done.sameLength = false;
  return fault;
}

// CopyFileWithProgress for a destination whose presence is known; `stamped`
// tells whether the copy gave it `times`.
bool CopyKnown(InstallerContext& cx, CopyView& view, const std::string& source,
               const std::string& destination, bool present, const std::optional<FileTimes>& times,
               bool& stamped) {
  Transfer done;
  bool deferred = false;
  const FileFault fault = present
                              ? ReplaceWhole(cx, view, source, destination, times, done, deferred)
                              : TransferInBlocks(cx, view, source, destination, times, done);
  stamped = done.stamped;
  if (deferred) return false;
  switch (fault) {
    case FileFault::None:
      if (!done.sameLength)
        Note(cx, "non copiato: " + destination + " (la copia non ha la lunghezza dell'originale)");
      return done.sameLength;
    case FileFault::InUse:
    case FileFault::Denied:
      return DeferToRestart(cx, source, destination);
    default:
      // A missing source included; a partial new file stays.
      Note(cx, "non copiato: " + destination + " (" + FaultText(cx.sys.files, fault) + ")");
      return false;
  }
}

}  // namespace

bool CopyFileWithProgress(InstallerContext& cx, CopyView& view, const std::string& source,
                          const std::string& destination) {
  bool stamped = false;
  return CopyKnown(cx, view, source, destination, FileIsPresent(cx.sys.files, destination),
                   std::nullopt, stamped);
}

bool InstallFile(InstallerContext& cx, CopyView& view, const std::string& source,
                 const std::string& destination, bool mayReplace, bool& existedBefore) {
  KnownFacts known;
  known.destinationPresent = FileIsPresent(cx.sys.files, destination);
  return InstallFile(cx, view, source, destination, mayReplace, existedBefore, known);
}

bool InstallFile(InstallerContext& cx, CopyView& view, const std::string& source,
                 const std::string& destination, bool mayReplace, bool& existedBefore,
                 const KnownFacts& known) {
  existedBefore = false;
  bool copyRan = false;
  bool result = false;
  try {
    if (known.destinationPresent) {
      existedBefore = true;
      if (!mayReplace) {
        Note(cx, "mantenuto: " + destination + " (già presente; il pacchetto non lo sostituisce)");
        return true;
      }
      const std::string type = InstallFileType(cx.sys.platform, source);
      if (!SourceMayReplace(cx.sys, type, source, destination)) {
        Note(cx, "mantenuto: " + destination + " (la copia presente è più recente)");
        return false;
      }
    }
    const std::string folder = FolderOfPath(destination);
    if (folder != known.readyFolder) EnsureFolder(cx, folder, true, false);
    bool stamped = false;
    result = CopyKnown(cx, view, source, destination, known.destinationPresent,
                       known.installerTimes, stamped);
    copyRan = true;
    // An old file that a failed copy left in place keeps its attributes and
    // times: with the installer's it would pass for the new one.
    if (!stamped && (result || !known.destinationPresent)) {
      cx.sys.files.SetAttributes(destination, attr::Normal);
      if (known.installerTimes)
        cx.sys.files.SetTimes(destination, *known.installerTimes);
      else
        StampInstallerTimes(cx.sys, destination);
    }
    if (result) Note(cx, (existedBefore ? "sostituito: " : "installato: ") + destination);
    const std::string registration = RegisterComponent(cx.sys, source, destination);
    if (!registration.empty()) Note(cx, registration + ": " + destination);
    return result;
  } catch (const RuntimeError& error) {
    Note(cx, "errore: " + destination + " (" + error.what() + ")");
    cx.sys.ui.Beep();
    if (error.Number() != kFileAlreadyExists && error.Number() != kPathFileAccessError)
      cx.sys.ui.ShowMessage(error.what(), cx.pkg().AppShortName + texts::kBoxTitleSuffix,
                            MsgIcon::Critical, MsgButtons::Ok);
    // Once the copy ran its outcome stands; an error before it installed nothing.
    return copyRan && result;
  }
}

}  // namespace tessaro
