#include "set_format.h"

#include <algorithm>

namespace tessaro {

namespace {

void PutLE(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads little-endian numbers from a byte span, remembering when it ran short.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
  uint32_t Unsigned(int count) {
    if (!Has(count)) return 0;
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
      value |= uint32_t{static_cast<unsigned char>(bytes_[pos_ + i])} << (8 * i);
    pos_ += count;
    return value;
  }
  int32_t Int32() { return static_cast<int32_t>(Unsigned(4)); }
  int16_t Int16() { return static_cast<int16_t>(Unsigned(2)); }
  std::string_view Bytes(size_t count) {
    if (!Has(count)) return {};
    std::string_view part = bytes_.substr(pos_, count);
    pos_ += count;
    return part;
  }
  bool Short() const { return short_; }
  size_t Left() const { return bytes_.size() - pos_; }

 private:
  bool Has(size_t count) {
    if (short_ || count > Left()) short_ = true;
    return !short_;
  }
  std::string_view bytes_;
  size_t pos_ = 0;
  bool short_ = false;
};

// The text in the ANSI code page, when it comes back unchanged.
std::optional<std::string> StorableText(const std::string& text, Platform& platform) {
  std::string ansi = platform.ToAnsi(text);
  if (ansi.size() > 0xFFFF || platform.FromAnsi(ansi) != text) return std::nullopt;
  return ansi;
}

}  // namespace

std::optional<std::string> EncodeCatalogue(const BackupCatalogue& catalogue, Platform& platform) {
  auto source = StorableText(catalogue.SourcePath, platform);
  auto folder = StorableText(catalogue.PieceFolder, platform);
  if (!source || !folder) return std::nullopt;
  std::string out;
  PutLE(out, static_cast<uint32_t>(catalogue.FileLength), 4);
  PutLE(out, static_cast<uint32_t>(source->size()), 2);
  out += *source;
  PutLE(out, static_cast<uint32_t>(folder->size()), 2);
  out += *folder;
  PutLE(out, static_cast<uint16_t>(catalogue.PieceCount), 2);
  PutLE(out, static_cast<uint32_t>(catalogue.FirstNumber), 4);
  return out;
}

std::optional<BackupCatalogue> DecodeCatalogue(std::string_view bytes, Platform& platform) {
  ByteReader in(bytes);
  BackupCatalogue c;
  c.FileLength = in.Int32();
  std::string_view source = in.Bytes(in.Unsigned(2));
  std::string_view folder = in.Bytes(in.Unsigned(2));
  c.PieceCount = in.Int16();
  c.FirstNumber = in.Int32();
  if (in.Short() || source.empty() || c.FileLength < 0 || c.PieceCount < 1 ||
      (c.FileLength > 0 && c.PieceCount > c.FileLength) || (c.FileLength == 0 && c.PieceCount != 1))
    return std::nullopt;
  c.SourcePath = platform.FromAnsi(std::string(source));
  c.PieceFolder = platform.FromAnsi(std::string(folder));
  return c;
}

std::string PieceHeader(uint32_t n) {
  std::string out;
  PutLE(out, 1, 2);  // one dimension
  PutLE(out, n, 4);
  PutLE(out, 1, 4);  // lower bound
  return out;
}

std::string PieceTrailer(uint32_t n) {
  std::string out;
  PutLE(out, n, 4);
  return out;
}

std::optional<uint32_t> PieceHeaderCount(std::string_view header) {
  ByteReader in(header);
  uint32_t dimensions = in.Unsigned(2);
  uint32_t count = in.Unsigned(4);
  uint32_t lowerBound = in.Unsigned(4);
  if (in.Short() || dimensions != 1 || lowerBound != 1 || count > 0x7FFFFFFF) return std::nullopt;
  return count;
}

std::string EncodePiece(std::string_view data) {
  const auto n = static_cast<uint32_t>(data.size());
  std::string out = PieceHeader(n);
  out.reserve(data.size() + kPieceOverhead);
  out.append(data);
  return out + PieceTrailer(n);
}

std::optional<PieceRecord> DecodePiece(std::string_view bytes) {
  auto announced = PieceHeaderCount(bytes.substr(0, std::min(bytes.size(), kPieceHeaderSize)));
  ByteReader in(bytes);
  in.Bytes(kPieceHeaderSize);
  // The count comes from the file: check it against what is there before
  // taking that many bytes.
  if (!announced || in.Short() || *announced > in.Left()) return std::nullopt;
  const uint32_t count = *announced;
  PieceRecord piece;
  piece.Data = std::string(in.Bytes(count));
  piece.Size = in.Int32();
  if (in.Short() || piece.Size != static_cast<int32_t>(count)) return std::nullopt;
  return piece;
}

namespace {

// Whether path[start..] is names separated by "\\": none empty, "." or "..",
// no character a file name cannot hold. How many there are, or 0.
size_t NameParts(const std::string& path, size_t start) {
  for (size_t i = start; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (c < 0x20 || std::string_view("*?\"<>|:/").find(static_cast<char>(c)) != std::string_view::npos)
      return 0;
  }
  size_t parts = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string_view part(path.data() + start, end - start);
    if (part.empty() || part == "." || part == "..") return 0;
    ++parts;
    start = end + 1;
  }
  return parts;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsFullLocalPath(const std::string& path) {
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  return path.size() >= 4 && letter(path[0]) && path[1] == ':' && path[2] == '\\' &&
         NameParts(path, 3) >= 1;
}

bool IsNetworkPath(const std::string& path) {
  // Server, share and at least a file name.
  return path.size() > 2 && path[0] == '\\' && path[1] == '\\' && NameParts(path, 2) >= 3;
}

bool IsRestorableSource(const std::string& source, const std::string& startedFor) {
  if (IsFullLocalPath(source)) return true;
  return IsNetworkPath(source) && source.size() == startedFor.size() &&
         std::equal(source.begin(), source.end(), startedFor.begin(),
                    [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
}

bool IsRestorableCatalogue(const BackupCatalogue& c, const std::string& startedFor) {
  return c.FileLength > 0 && c.FirstNumber == 1 && c.PieceCount == PiecesFor(c.FileLength, kPieceSize) &&
         IsRestorableSource(c.SourcePath, startedFor);
}

int64_t PieceDataSize(int64_t fileLength, int64_t k, int64_t pieceSize) {
  const int64_t rest = fileLength - (k - 1) * pieceSize;
  return rest < 0 ? 0 : std::min(rest, pieceSize);
}

std::string PieceNumberText(int64_t number) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return number < 0 ? "-" + digits : digits;
}

int64_t PiecesFor(int64_t length, int64_t pieceSize) {
  if (length <= 0) return 1;
  return length / pieceSize + (length % pieceSize != 0 ? 1 : 0);
}

}  // namespace tessaro
