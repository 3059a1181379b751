#include "split_join.h"

#include <vector>

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

}  // namespace

bool SplitFile(Services& sys, const std::string& source, int32_t first, std::string& errorText,
               int32_t& pieceCount, int32_t pieceSize, const std::string& catalogue) {
  if (pieceSize <= 0) return Fail(errorText, kvb_texts::kBadPieceSize);
  auto bytes = sys.files.ReadAll(source);
  if (!bytes) return Fail(errorText, sys.files.LastErrorText());
  // The catalogue stores the length as a signed 32-bit number and the count
  // of pieces as a signed 16-bit one.
  const int64_t length = static_cast<int64_t>(bytes->size());
  const int64_t count = PiecesFor(length, pieceSize);
  if (length > INT32_MAX || count > INT16_MAX || first + count - 1 > INT32_MAX)
    return Fail(errorText, kvb_texts::kFileTooLarge + source);

  // Without a catalogue name the catalogue goes beside the source, and the
  // pieces with it, rather than into whatever folder is current.
  const std::string cataloguePath = catalogue.empty() ? source + ".tpl" : catalogue;
  const std::string folder = PathFolder(cataloguePath);
  const std::string name = PathLastPart(source);
  std::string lastPiece;
  for (int64_t k = 1; k <= count; ++k) {
    const size_t start = static_cast<size_t>((k - 1) * pieceSize);
    lastPiece = PiecePath(folder, name, first + k - 1);
    if (!sys.files.WriteAll(lastPiece,
                            EncodePiece(std::string_view(*bytes).substr(start, pieceSize))))
      return Fail(errorText, sys.files.LastErrorText());
  }
  pieceCount = static_cast<int32_t>(count);

  BackupCatalogue record;
  record.FileLength = static_cast<int32_t>(length);
  record.SourcePath = source;
  record.PieceFolder = PathFolder(lastPiece);
  record.PieceCount = static_cast<int16_t>(count);
  record.FirstNumber = first;
  auto encoded = EncodeCatalogue(record, sys.platform);
  if (!encoded) return Fail(errorText, kvb_texts::kPathNotInCodePage + source);
  if (!sys.files.WriteAll(cataloguePath, *encoded))
    return Fail(errorText, sys.files.LastErrorText());
  return true;
}

namespace {

bool ShowJoinError(Services& sys, const std::string& why) {
  sys.ui.Beep();
  sys.ui.ShowMessage(why, kvb_texts::kProgramTitle, MsgIcon::Critical, MsgButtons::Ok);
  return false;
}

// Every piece but the last holds the same number of bytes, the last no more
// than that, none is empty unless the file was, and together they hold the
// catalogue's length.
bool PiecesMatch(const std::vector<PieceRecord>& pieces, int32_t fileLength) {
  int64_t total = 0;
  const int32_t full = pieces.front().Size;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const int32_t size = pieces[i].Size;
    if (i + 1 < pieces.size() ? size != full : size > full) return false;
    if (size == 0 && fileLength != 0) return false;
    total += size;
  }
  return total == fileLength;
}

}  // namespace

bool JoinFile(Services& sys, const std::string& catalogue, bool useStoredPath,
              const std::string& target) {
  if (catalogue.empty()) return false;
  auto recordBytes = sys.files.ReadAll(catalogue);
  if (!recordBytes) return ShowJoinError(sys, sys.files.LastErrorText());
  auto record = DecodeCatalogue(*recordBytes, sys.platform);
  if (!record) return ShowJoinError(sys, kvb_texts::kDamagedCatalogue + catalogue);

  const std::string output = useStoredPath ? record->SourcePath : target;
  // Named as SplitFile named them, from the last part of the stored path.
  const std::string name = PathLastPart(record->SourcePath);
  std::vector<PieceRecord> pieces;
  for (int32_t k = 1; k <= record->PieceCount; ++k) {
    const std::string path =
        PiecePath(record->PieceFolder, name, int64_t{record->FirstNumber} - 1 + k);
    auto bytes = sys.files.ReadAll(path);
    if (!bytes) return ShowJoinError(sys, sys.files.LastErrorText());
    auto piece = DecodePiece(*bytes);
    if (!piece) return ShowJoinError(sys, kvb_texts::kDamagedPiece + path);
    pieces.push_back(std::move(*piece));
  }
  if (!PiecesMatch(pieces, record->FileLength))
    return ShowJoinError(sys, kvb_texts::kPiecesDoNotMatch + catalogue);

  std::string data;
  data.reserve(static_cast<size_t>(record->FileLength));
  for (const PieceRecord& piece : pieces) data += piece.Data;
  pieces.clear();

  // The data file is replaced only once its new content is safely written.
  const std::string scratch = output + ".tmp";
  if (!sys.files.WriteAll(scratch, data)) {
    std::string why = sys.files.LastErrorText();
    sys.files.Delete(scratch);
    return ShowJoinError(sys, why);
  }
  if (!sys.files.MoveReplacing(scratch, output)) {
    std::string why = sys.files.LastErrorText();
    sys.files.Delete(scratch);
    return ShowJoinError(sys, why);
  }
  return true;
}

}  // namespace tessaro
