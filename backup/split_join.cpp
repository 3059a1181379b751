#include "split_join.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "crc32.h"
#include "kvb_texts.h"
#include "set_format.h"

namespace tessaro {

std::string PathFolder(const std::string& path) {
  std::string prepared = path;
  if (prepared.empty() || prepared.back() != '\\') prepared += '\\';
  // The last part lies between the last two backslashes of the prepared path.
  size_t end = prepared.size() - 1;
  size_t cut = end == 0 ? std::string::npos : prepared.rfind('\\', end - 1);
  return cut == std::string::npos ? std::string() : prepared.substr(0, cut + 1);
}

std::string PathLastPart(const std::string& path) {
  std::string prepared = path;
  if (prepared.empty() || prepared.back() != '\\') prepared += '\\';
  std::string folder = PathFolder(path);
  return prepared.substr(folder.size(), prepared.size() - 1 - folder.size());
}

std::string SplitAtLast(const std::string& text, bool before, char separator) {
  size_t at = text.rfind(separator);
  if (at == std::string::npos) return {};
  return before ? text.substr(0, at) : text.substr(at + 1);
}

bool FileExists(FileSystem& files, const std::string& path) {
  return files.FileLength(path).has_value();
}

namespace {

std::string PiecePath(const std::string& folder, const std::string& name, int64_t number) {
  return folder + name + "." + PieceNumberText(number);
}

bool Fail(std::string& errorText, const std::string& why) {
  errorText = why;
  return false;
}

// Moves `count` bytes from `in` to `out` (or only reads them when out is
// null) through the buffer, showing each block to `seen`.
FileStatus Transfer(OpenFile& in, OpenFile* out, int64_t count, std::vector<char>& buffer,
                    const BlockSink& seen = {}) {
  while (count > 0) {
    const size_t part = static_cast<size_t>(std::min<int64_t>(count, buffer.size()));
    FileStatus status = in.Read(buffer.data(), part);
    if (status && seen) seen(buffer.data(), part);
    if (status && out) status = out->Write(buffer.data(), part);
    if (!status) return status;
    count -= static_cast<int64_t>(part);
  }
  return {};
}

FileStatus WriteText(OpenFile& out, const std::string& bytes) {
  return out.Write(bytes.data(), bytes.size());
}

}  // namespace

bool SplitFile(Services& sys, const std::string& source, int32_t first, std::string& errorText,
               int32_t& pieceCount, int32_t pieceSize, const std::string& catalogue,
               SetChecks* checks) {
  if (pieceSize <= 0) return Fail(errorText, kvb_texts::kBadPieceSize);
  FileStatus status;
  // Shared for reading only: the application cannot change the file while
  // it is cut, and a file it holds open for writing is refused here.
  std::unique_ptr<OpenFile> in = sys.files.OpenForReading(source, status);
  if (!in) return Fail(errorText, sys.files.ErrorText(status.code));
  // The catalogue stores the length as a signed 32-bit number and the count
  // of pieces as a signed 16-bit one.
  const uint64_t length = in->Length();
  const int64_t count = PiecesFor(static_cast<int64_t>(std::min<uint64_t>(length, INT64_MAX)), pieceSize);
  if (length > INT32_MAX || count > INT16_MAX || first + count - 1 > INT32_MAX)
    return Fail(errorText, kvb_texts::kFileTooLarge + source + kvb_texts::kFileTooLargeEnd);
  // Emptied since the program started, perhaps: a set of nothing restores nothing.
  if (length == 0) return Fail(errorText, kvb_texts::kEmptyFile + source + kvb_texts::kEmptyFileEnd);

  // Without a catalogue name the catalogue goes beside the source, and the
  // pieces with it, rather than into whatever folder is current.
  const std::string cataloguePath = catalogue.empty() ? source + ".tpl" : catalogue;
  const std::string folder = PathFolder(cataloguePath);
  const std::string name = PathLastPart(source);
  BackupCatalogue record;
  record.FileLength = static_cast<int32_t>(length);
  record.SourcePath = source;
  record.PieceFolder = folder;
  record.PieceCount = static_cast<int16_t>(count);
  record.FirstNumber = first;
  // Checked before any piece is written: a path the catalogue cannot hold
  // would make a set that restores elsewhere.
  auto encoded = EncodeCatalogue(record, sys.platform);
  if (!encoded) return Fail(errorText, kvb_texts::kPathNotInCodePage + source);

  std::vector<char> buffer(kStreamBlockSize);
  // The checks are made as the bytes go by: the data file is read once, and
  // each byte goes through the CRC once (the piece files' and the whole
  // file's checksums are put together from the pieces' data's).
  uint32_t fileCrc = Crc32Of({});
  SetChecks made;
  if (checks) made.parity.assign(static_cast<size_t>(PieceDataSize(length, 1, pieceSize)), '\0');
  for (int64_t k = 1; k <= count; ++k) {
    const auto size = static_cast<uint32_t>(PieceDataSize(static_cast<int64_t>(length), k, pieceSize));
    // Written over in place: the last backup's pieces are most often there,
    // as long as these.
    std::unique_ptr<OpenFile> out =
        sys.files.OpenToOverwrite(PiecePath(folder, name, first + k - 1), status);
    if (!out) return Fail(errorText, sys.files.ErrorText(status.code));
    const std::string header = PieceHeader(size), trailer = PieceTrailer(size);
    Crc32 dataCrc;
    size_t offset = 0;
    auto seen = [&](const char* data, size_t part) {
      dataCrc.Update(data, part);
      AddToParity(made.parity, offset, data, part);
      offset += part;
    };
    status = WriteText(*out, header);
    if (status) status = Transfer(*in, out.get(), size, buffer, checks ? BlockSink(seen) : BlockSink());
    if (status) status = WriteText(*out, trailer);
    if (status) status = out->CutHere();
    if (!status) return Fail(errorText, sys.files.ErrorText(status.code));
    // The piece file's checksum covers its framing too.
    const uint32_t framed = Crc32Combine(Crc32Of(header), dataCrc.Value(), size);
    made.pieceCrcs.push_back(Crc32Combine(framed, Crc32Of(trailer), trailer.size()));
    fileCrc = Crc32Combine(fileCrc, dataCrc.Value(), size);
  }
  in.reset();
  pieceCount = static_cast<int32_t>(count);
  if (checks) {
    made.fileCrc = fileCrc;
    *checks = std::move(made);
  }

  status = sys.files.WriteAll(cataloguePath, *encoded);
  if (!status) return Fail(errorText, sys.files.ErrorText(status.code));
  return true;
}

PieceRead ReadPieceFile(FileSystem& files, const std::string& path, int64_t size, OpenFile* out,
                        std::vector<char>& buffer, const BlockSink& seen) {
  const PieceRead damaged{PieceCheck::Damaged, {}};
  auto failed = [](const FileStatus& status) { return PieceRead{PieceCheck::Failed, status}; };
  FileStatus status;
  std::unique_ptr<OpenFile> in = files.OpenForReading(path, status);
  if (!in) return failed(status);
  // The length of the file opened, not of whatever has the name now.
  if (size < 0 || in->Length() != static_cast<uint64_t>(size) + kPieceOverhead) return damaged;
  char framing[kPieceHeaderSize];
  if (!(status = in->Read(framing, kPieceHeaderSize))) return failed(status);
  auto announced = PieceHeaderCount(std::string_view(framing, kPieceHeaderSize));
  if (!announced || *announced != size) return damaged;
  if (!(status = Transfer(*in, out, size, buffer, seen))) return failed(status);
  if (!(status = in->Read(framing, kPieceTrailerSize))) return failed(status);
  if (std::string_view(framing, kPieceTrailerSize) != PieceTrailer(*announced)) return damaged;
  return {PieceCheck::Ok, {}};
}

namespace {

// Opens a scratch file of the program's own in `folder`: a name that no file
// has yet, made new, so that nothing already there (the user's own
// "archivio.mdb.tmp" included) is ever written over or deleted.
std::unique_ptr<OpenFile> NewScratchFile(FileSystem& files, const std::string& folder,
                                         std::string& path, FileStatus& status) {
  for (int i = 0; i < 100; ++i) {
    std::string digits = std::to_string(i);
    path = folder + "~KVB" + std::string(4 - digits.size(), '0') + digits + ".TMP";
    std::unique_ptr<OpenFile> file = files.CreateNew(path, status);
    if (file || status.fault != FileFault::Exists) return file;
  }
  return nullptr;
}

bool ShowJoinError(Services& sys, const std::string& why) {
  sys.ui.Beep();
  sys.ui.ShowMessage(why, kvb_texts::kProgramTitle, MsgIcon::Critical, MsgButtons::Ok);
  return false;
}

// Every piece but the last holds the same number of bytes, the last no more
// than that, none is empty unless the file was, and together they hold the
// catalogue's length.
bool SizesMatch(const std::vector<int64_t>& sizes, int32_t fileLength) {
  int64_t total = 0;
  const int64_t full = sizes.front();
  for (size_t i = 0; i < sizes.size(); ++i) {
    const int64_t size = sizes[i];
    if (i + 1 < sizes.size() ? size != full : size > full) return false;
    if (size == 0 && fileLength != 0) return false;
    total += size;
  }
  return total == fileLength;
}

}  // namespace

bool JoinFile(Services& sys, const std::string& catalogue, bool useStoredPath,
              const std::string& target, std::optional<uint32_t> fileCrc) {
  if (catalogue.empty()) return false;
  FileSystem& files = sys.files;
  auto catalogueLength = files.FileLength(catalogue);
  if (!catalogueLength) return ShowJoinError(sys, files.ErrorText(catalogueLength.status.code));
  if (*catalogueLength > kLargestCatalogueSize)
    return ShowJoinError(sys, kvb_texts::kDamagedCatalogue + catalogue);
  auto recordBytes = files.ReadAll(catalogue);
  if (!recordBytes) return ShowJoinError(sys, files.ErrorText(recordBytes.status.code));
  auto record = DecodeCatalogue(*recordBytes, sys.platform);
  if (!record) return ShowJoinError(sys, kvb_texts::kDamagedCatalogue + catalogue);

  const std::string output = useStoredPath ? record->SourcePath : target;
  // The pieces lie beside the catalogue, named as SplitFile named them from
  // the last part of the stored path. The stored folder is not followed: it
  // may name any place, a network share included.
  const std::string folder = PathFolder(catalogue);
  const std::string name = PathLastPart(record->SourcePath);
  std::vector<std::string> paths;
  std::vector<int64_t> sizes;
  for (int32_t k = 1; k <= record->PieceCount; ++k) {
    paths.push_back(PiecePath(folder, name, int64_t{record->FirstNumber} - 1 + k));
    auto length = files.FileLength(paths.back());
    if (!length)
      return ShowJoinError(sys, files.ErrorText(length.status.code) + "\r\n" + paths.back());
    if (*length < static_cast<uint64_t>(kPieceOverhead))
      return ShowJoinError(sys, kvb_texts::kDamagedPiece + paths.back());
    sizes.push_back(static_cast<int64_t>(*length) - kPieceOverhead);
  }
  if (!SizesMatch(sizes, record->FileLength))
    return ShowJoinError(sys, kvb_texts::kPiecesDoNotMatch + catalogue);

  // The data file is replaced only once its new content is safely written.
  std::string scratch;
  FileStatus status;
  std::string why;
  {
    std::unique_ptr<OpenFile> out = NewScratchFile(files, PathFolder(output), scratch, status);
    if (!out) return ShowJoinError(sys, files.ErrorText(status.code));
    std::vector<char> buffer(kJoinBlockSize);
    Crc32 joined;
    auto seen = [&](const char* data, size_t size) { joined.Update(data, size); };
    for (size_t i = 0; i < paths.size() && why.empty(); ++i) {
      const PieceRead piece =
          ReadPieceFile(files, paths[i], sizes[i], out.get(), buffer, fileCrc ? BlockSink(seen) : BlockSink());
      switch (piece.check) {
        case PieceCheck::Ok: break;
        case PieceCheck::Failed: why = files.ErrorText(piece.status.code); break;
        case PieceCheck::Damaged: why = kvb_texts::kDamagedPiece + paths[i]; break;
      }
    }
    if (why.empty() && out->Length() != static_cast<uint64_t>(record->FileLength))
      why = kvb_texts::kPiecesDoNotMatch + catalogue;
    // Pieces that each passed their own check can still have changed on the
    // hard disk since; the whole file's checksum is the last word.
    if (why.empty() && fileCrc && joined.Value() != *fileCrc)
      why = kvb_texts::kRebuiltFileDiffers + output + kvb_texts::kRebuiltFileDiffersEnd;
    if (why.empty() && !(status = out->Flush())) why = files.ErrorText(status.code);
  }
  if (why.empty() && !(status = files.MoveReplacing(scratch, output))) {
    why = status.fault == FileFault::InUse ? kvb_texts::kDataFileInUse + output + "."
                                           : files.ErrorText(status.code);
  }
  if (!why.empty()) {
    files.Delete(scratch);
    return ShowJoinError(sys, why);
  }
  return true;
}

}  // namespace tessaro
