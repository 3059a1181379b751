// JoinFile over a hostile set on the fake file system. Input: a flags byte
// (bit 0: rebuild at the stored path), a byte choosing a file operation to
// fail and one saying which of its calls, the catalogue's length (2 bytes)
// and bytes, then piece files, each its length (4 bytes) and bytes. The
// pieces are named as the catalogue's source path names them, numbered from
// its first number, beside the catalogue. Rules: on success the data file is
// exactly the bytes the pieces frame, as many as the catalogue says, and
// every piece was well framed; on failure one critical box is shown and
// every file is as before (the scratch file may stay only when deleting was
// made to fail); either way no file but the data file changes.
#include <map>

#include "fakes/fakes.h"
#include "fuzz_support.h"
#include "set_format.h"
#include "split_join.h"
#include "text.h"

using namespace tessaro;
using namespace tessaro::fuzz;

namespace {

constexpr const char* kFolder = "C:\\Dati\\";
constexpr const char* kCatalogue = "C:\\Dati\\071226.gbt";
constexpr const char* kDataFile = "C:\\Dati\\dati.mdb";
constexpr const char* kOldData = "the data file before the restore";

// Every file under the folder, by upper-case path, with its bytes.
void Snapshot(fakes::FakeFileSystem& files, const std::string& folder,
              std::map<std::string, std::string>& out) {
  for (const std::string& name : files.Names(folder)) {
    const std::string path = folder + "\\" + name;
    const auto attributes = files.GetAttributes(path);
    if (attributes && (*attributes & attr::Directory))
      Snapshot(files, path, out);
    else
      out[UpperLatin(path)] = files.Content(path);
  }
}

// The bytes a well-framed piece file holds; nothing for any other file.
std::optional<std::string> Framed(const std::string& file) {
  if (file.size() < 14) return std::nullopt;
  const uint32_t n = LittleEndian(file, 2, 4);
  if (LittleEndian(file, 0, 2) != 1 || LittleEndian(file, 6, 4) != 1 ||
      file.size() != uint64_t{n} + 14 || LittleEndian(file, 10 + n, 4) != n)
    return std::nullopt;
  return file.substr(10, n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  if (in.size() < 5) return 0;
  const bool storedPath = in[0] & 1;
  const int faultOp = static_cast<uint8_t>(in[1]) % 7;  // 0: none
  const int faultNth = static_cast<uint8_t>(in[2]) % 8 + 1;
  const size_t catalogueLength = std::min<size_t>(LittleEndian(in, 3, 2), in.size() - 5);
  const std::string catalogue(in.substr(5, catalogueLength));
  in.remove_prefix(5 + catalogueLength);
  std::vector<std::string> pieces;
  while (in.size() >= 4 && pieces.size() < 64) {
    const size_t length = std::min<size_t>(LittleEndian(in, 0, 4), in.size() - 4);
    pieces.emplace_back(in.substr(4, length));
    in.remove_prefix(4 + length);
  }

  fakes::FakeSystem sys;
  Services services = sys.services();
  sys.files.AddFile(kCatalogue, catalogue);
  sys.files.AddFile(kDataFile, kOldData);
  // Named as the join looks for them when the catalogue decodes; as x.001 ... otherwise.
  const auto record = DecodeCatalogue(catalogue, sys.platform);
  const std::string name = record ? PathLastPart(record->SourcePath) : "x";
  const int64_t first = record ? record->FirstNumber : 1;
  for (size_t k = 0; k < pieces.size(); ++k)
    sys.files.AddFile(kFolder + name + "." + PieceNumberText(first + static_cast<int64_t>(k)),
                      pieces[k]);
  const std::string output = storedPath && record ? record->SourcePath : kDataFile;
  const bool hadOutput = sys.files.Exists(output);
  const std::string outputBefore = sys.files.Content(output);
  std::map<std::string, std::string> before;
  Snapshot(sys.files, "C:", before);

  if (faultOp != 0)
    sys.files.Inject(static_cast<fakes::FakeOp>(faultOp - 1), faultNth,
                     {FileFault::Failed, fakes::code::ReadFault});
  const bool joined = JoinFile(services, kCatalogue, storedPath, kDataFile);

  std::map<std::string, std::string> after;
  Snapshot(sys.files, "C:", after);
  if (joined) {
    FUZZ_CHECK(record.has_value());
    FUZZ_CHECK(sys.ui.boxes.empty());
    std::string expected;
    for (int k = 0; k < record->PieceCount; ++k) {
      FUZZ_CHECK(static_cast<size_t>(k) < pieces.size());
      const auto bytes = Framed(pieces[k]);
      FUZZ_CHECK(bytes.has_value());
      expected += *bytes;
    }
    FUZZ_CHECK(expected.size() == static_cast<size_t>(record->FileLength));
    FUZZ_CHECK(sys.files.Exists(output) && sys.files.Content(output) == expected);
    // The data file is the only one changed or added; nothing went away.
    size_t changed = 0;
    for (const auto& [path, bytes] : after)
      if (!before.count(path) || before.at(path) != bytes) {
        FUZZ_CHECK(bytes == expected);
        ++changed;
      }
    FUZZ_CHECK(changed <= 1 && (hadOutput || changed == 1));
    for (const auto& [path, bytes] : before) FUZZ_CHECK(after.count(path));
  } else {
    FUZZ_CHECK(sys.ui.boxes.size() == 1 && sys.ui.boxes[0].icon == MsgIcon::Critical);
    FUZZ_CHECK(sys.files.Exists(output) == hadOutput && sys.files.Content(output) == outputBefore);
    const bool deleteFailed = faultOp - 1 == static_cast<int>(fakes::FakeOp::Delete);
    for (const auto& [path, bytes] : after) {
      if (before.count(path)) {
        FUZZ_CHECK(before.at(path) == bytes);
      } else {
        FUZZ_CHECK(deleteFailed && EndsWith(path, ".TMP"));
      }
    }
    for (const auto& [path, bytes] : before) FUZZ_CHECK(after.count(path));
  }
  return 0;
}
