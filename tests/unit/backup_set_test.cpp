// The backup set's formats, its label, and split/join through the fake disk.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "crc32.h"
#include "fakes/fakes.h"
#include "set_checks.h"
#include "set_format.h"
#include "set_label.h"
#include "split_join.h"

namespace tessaro {
namespace {

using fakes::FakeSystem;

// Bytes that differ from piece to piece, so a piece put in the wrong place shows.
std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  uint32_t x = 12345;
  for (char& c : bytes) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 24);
  }
  return bytes;
}

uint32_t LE(const std::string& bytes, size_t at, int count) {
  uint32_t v = 0;
  for (int i = 0; i < count; ++i)
    v |= uint32_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
  return v;
}

TEST(CatalogueFile, HasTheDocumentedLayoutAndReadsBack) {
  FakeSystem sys;
  BackupCatalogue c{3000000, "C:\\Dati\\Città.mdb", "C:\\Dati\\", 3, 1};
  auto bytes = EncodeCatalogue(c, sys.platform);
  ASSERT_TRUE(bytes);
  // 14 + 17 + 8: the "à" is one byte in the ANSI code page.
  ASSERT_EQ(bytes->size(), 39u);
  EXPECT_EQ(LE(*bytes, 0, 4), 3000000u);
  EXPECT_EQ(LE(*bytes, 4, 2), 17u);
  EXPECT_EQ(bytes->substr(6, 17), "C:\\Dati\\Citt\xE0.mdb");
  EXPECT_EQ(LE(*bytes, 23, 2), 8u);
  EXPECT_EQ(bytes->substr(25, 8), "C:\\Dati\\");
  EXPECT_EQ(LE(*bytes, 33, 2), 3u);
  EXPECT_EQ(LE(*bytes, 35, 4), 1u);

  auto back = DecodeCatalogue(*bytes, sys.platform);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->FileLength, c.FileLength);
  EXPECT_EQ(back->SourcePath, c.SourcePath);
  EXPECT_EQ(back->PieceFolder, c.PieceFolder);
  EXPECT_EQ(back->PieceCount, c.PieceCount);
  EXPECT_EQ(back->FirstNumber, c.FirstNumber);
}

TEST(CatalogueFile, RefusesDamagedOrShortFilesAndUnstorablePaths) {
  FakeSystem sys;
  const std::string good = *EncodeCatalogue({100, "C:\\x.mdb", "C:\\", 1, 1}, sys.platform);
  for (size_t cut = 0; cut < good.size(); ++cut)
    EXPECT_FALSE(DecodeCatalogue(good.substr(0, cut), sys.platform)) << "cut at " << cut;

  auto patched = [&](size_t at, std::string with) {
    std::string b = good;
    b.replace(at, with.size(), with);
    return DecodeCatalogue(b, sys.platform);
  };
  EXPECT_FALSE(patched(4, std::string("\xFF\x00", 2)));              // path longer than the file
  EXPECT_FALSE(patched(0, std::string("\xFF\xFF\xFF\xFF", 4)));      // negative length
  EXPECT_FALSE(patched(good.size() - 6, std::string("\0\0", 2)));    // no pieces
  EXPECT_FALSE(patched(good.size() - 6, std::string("\x65\0", 2)));  // more pieces than bytes

  // A network path restores only in a program started for that same file;
  // device paths and paths without a file name never.
  for (const std::string path : {"\\\\server\\dati", "\\\\?\\C:\\x.mdb",
                                 "\\\\.\\PhysicalDrive0\\x", "\\\\server\\..\\x.mdb"})
    EXPECT_FALSE(IsRestorableSource(path, path)) << path;
  EXPECT_TRUE(IsRestorableSource("\\\\server\\dati\\x.mdb", "\\\\SERVER\\Dati\\X.MDB"));
  EXPECT_FALSE(IsRestorableSource("\\\\server\\dati\\x.mdb", "\\\\server\\altri\\x.mdb"));
  EXPECT_TRUE(IsRestorableSource("C:\\x.mdb", "\\\\server\\dati\\x.mdb"));

  // A character the code page lacks would come back as "?" and name another file.
  EXPECT_FALSE(
      EncodeCatalogue({1, "C:\\\xE2\x82\xAC\xE4\xB8\xAD.mdb", "C:\\", 1, 1}, sys.platform));
}

TEST(PieceFile, HasTheDocumentedLayoutAndRefusesDamage) {
  const std::string data = Pattern(100);
  const std::string file = EncodePiece(data);
  ASSERT_EQ(file.size(), 114u);
  EXPECT_EQ(LE(file, 0, 2), 1u);
  EXPECT_EQ(LE(file, 2, 4), 100u);
  EXPECT_EQ(LE(file, 6, 4), 1u);
  EXPECT_EQ(file.substr(10, 100), data);
  EXPECT_EQ(LE(file, 110, 4), 100u);
  auto piece = DecodePiece(file);
  ASSERT_TRUE(piece);
  EXPECT_EQ(piece->Data, data);
  EXPECT_EQ(piece->Size, 100);

  EXPECT_FALSE(DecodePiece(file.substr(0, 113)));
  EXPECT_FALSE(DecodePiece(file.substr(0, 9)));
  std::string badCount = file;
  badCount[4] = '\x7F';  // announces far more bytes than there are
  EXPECT_FALSE(DecodePiece(badCount));
  std::string badSize = file;
  badSize[110] = 99;
  EXPECT_FALSE(DecodePiece(badSize));
  std::string badBound = file;
  badBound[6] = 0;
  EXPECT_FALSE(DecodePiece(badBound));
}

TEST(Checksums, Crc32IsZipsWhateverTheBlocks) {
  EXPECT_EQ(Crc32Of("123456789"), 0xCBF43926u);  // the published check value
  EXPECT_EQ(Crc32Of(""), 0u);
  const std::string data = Pattern(1000);
  Crc32 inParts;
  for (size_t at = 0, step = 1; at < data.size(); at += step, step = step * 3 % 17 + 1)
    inParts.Update(std::string_view(data).substr(at, step));
  EXPECT_EQ(inParts.Value(), Crc32Of(data));
  // Against the definition, bit by bit, for every length and alignment the
  // fast paths treat differently.
  for (size_t start : {0u, 1u, 3u})
    for (size_t length = 0; length < 300; length += length < 40 ? 1 : 37) {
      uint32_t c = 0xFFFFFFFFu;
      for (size_t i = start; i < start + length; ++i) {
        c ^= static_cast<unsigned char>(data[i]);
        for (int bit = 0; bit < 8; ++bit) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
      }
      EXPECT_EQ(Crc32Of(std::string_view(data).substr(start, length)), ~c) << start << "+" << length;
    }
  EXPECT_NE(Crc32Of(data.substr(0, 999) + "x"), Crc32Of(data));
  // Two parts' checksums make the whole one's.
  for (size_t cut : {0u, 1u, 7u, 8u, 500u, 999u, 1000u}) {
    const std::string a = data.substr(0, cut), b = data.substr(cut);
    EXPECT_EQ(Crc32Combine(Crc32Of(a), Crc32Of(b), b.size()), Crc32Of(data)) << cut;
  }
}

TEST(Checksums, FloppyChecksFileReadsBackAndRefusesAnyChangedByte) {
  FloppyChecks c{"04242-24242", 2, 3, true, 3000000, 0x12345678, 0, {0xCAFEBABE}};
  const std::string bytes = EncodeFloppyChecks(c);
  ASSERT_EQ(bytes.size(), FloppyChecksSize(2, 3));
  auto back = DecodeFloppyChecks(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(EncodeFloppyChecks(*back), bytes);
  EXPECT_EQ(back->pieceCrcs, c.pieceCrcs);
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::string changed = bytes;
    changed[i] = static_cast<char>(changed[i] ^ 0x10);
    EXPECT_FALSE(DecodeFloppyChecks(changed)) << "byte " << i;
  }
  EXPECT_FALSE(DecodeFloppyChecks(bytes.substr(0, bytes.size() - 1)));
  EXPECT_FALSE(DecodeFloppyChecks(bytes + "x"));

}

// The largest floppies a set can have, put on a real 1.44 MB FAT12 image
// (2,847 clusters of 512 bytes) with mtools: the first floppy of a set at
// the 2 GiB limit (a full piece, the catalogue of a path of 260 characters
// at two bytes each, the checksum file) and that set's recovery floppy (the
// parity and 1,492 checksums). The pieces' contents do not matter: sparse.
TEST(Checksums, TheLargestFloppiesOfASetFitOnARealFloppy) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("kvb_fat12_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const int32_t count = static_cast<int32_t>(PiecesFor(INT32_MAX, kPieceSize));
  ASSERT_EQ(count, 1492);
  FakeSystem sys;
  const std::string longText(520, 'x');
  const SetChecks set{std::vector<uint32_t>(count, 0x12345678), 0x9ABCDEF0, {}};
  auto checks = [&](int32_t floppy) {
    FloppyChecks c = ChecksOfFloppy(set, "04242-24242", floppy, true, INT32_MAX);
    c.parityCrc = 1;  // the parity itself is not made here
    return EncodeFloppyChecks(c);
  };
  struct File {
    std::string name;
    uint64_t size;
    std::string bytes;  // empty: sparse
  };
  const std::vector<std::vector<File>> floppies = {
      {{"archivio.mdb.001", uint64_t{kPieceSize} + kPieceOverhead, {}},
       {"071226.gbt", 0, *EncodeCatalogue({INT32_MAX, longText, longText, int16_t(count), 1}, sys.platform)},
       {"KVBSET.CRC", 0, checks(1)}},
      {{"KVBSET.PAR", uint64_t{kPieceSize}, {}}, {"KVBSET.CRC", 0, checks(kRecoveryFloppy)}}};
  for (const auto& files : floppies) {
    const std::string image = (dir / "floppy.img").string();
    fs::remove(image);
    ASSERT_EQ(std::system(("mformat -C -f 1440 -i '" + image + "' :: >/dev/null").c_str()), 0)
        << "mtools missing? scripts/install-deps installs it";
    uint64_t clusters = 0;
    for (const File& f : files) {
      const fs::path path = dir / f.name;
      std::ofstream(path, std::ios::binary) << f.bytes;
      if (f.bytes.empty()) fs::resize_file(path, f.size);
      clusters += (fs::file_size(path) + 511) / 512;
      ASSERT_EQ(std::system(("mcopy -i '" + image + "' '" + path.string() + "' :: 2>&1").c_str()), 0)
          << f.name << " does not fit";
    }
    // What is left is what the cluster arithmetic says.
    FILE* listing = ::popen(("mdir -i '" + image + "' :: | tr -d ' '").c_str(), "r");
    ASSERT_TRUE(listing);
    char line[256];
    uint64_t free = UINT64_MAX;
    while (std::fgets(line, sizeof line, listing))
      if (std::strstr(line, "bytesfree")) free = std::strtoull(line, nullptr, 10);
    ::pclose(listing);
    EXPECT_LE(clusters, 2847u);
    EXPECT_EQ(free, (2847 - clusters) * 512);
  }
  fs::remove_all(dir);
}

TEST(SetLabel, IsElevenCharactersWithADashInTheSixthPlace) {
  EXPECT_EQ(SetLabelOf(1), "00000-00001");
  EXPECT_EQ(SetLabelOf(9999999999ULL), "09999-99999");
  EXPECT_EQ(SetLabelOf(1234567890), "01234-67890");  // the sixth digit gives way
  EXPECT_EQ(NewSetLabel([] { return uint64_t{4242424242}; }), "04242-24242");

  for (int i = 0; i < 50; ++i) {
    std::string label = NewSetLabel();
    EXPECT_TRUE(IsSetLabel(label)) << label;
  }
  EXPECT_FALSE(IsSetLabel("12345-67890"));
  EXPECT_FALSE(IsSetLabel("01234567890"));
  EXPECT_FALSE(IsSetLabel("0123-567890"));
  EXPECT_FALSE(IsSetLabel(std::string(127, ' ')));
}

TEST(SetLabel, VolumeLabelIsCutAtNulAndUnreadableDrivesGiveSpaces) {
  FakeSystem sys;
  sys.files.drives['A'] = {2, std::nullopt,
                           VolumeFacts{std::string("01234-67890\0junk", 16), "FAT"}};
  EXPECT_EQ(GetVolumeLabel(sys.files, "A:\\"), "01234-67890");
  EXPECT_EQ(GetVolumeLabel(sys.files, "B:\\"), std::string(127, ' '));
  // A label set on a drive reads back; a write-protected floppy keeps its own.
  ASSERT_TRUE(sys.files.ChangeVolumeLabel("A:\\", "05555-55555"));
  EXPECT_EQ(GetVolumeLabel(sys.files, "a:\\"), "05555-55555");
  sys.files.writeProtected.insert('A');
  EXPECT_FALSE(sys.files.ChangeVolumeLabel("A:\\", "06666-66666"));
  EXPECT_EQ(GetVolumeLabel(sys.files, "A:\\"), "05555-55555");
}

TEST(PathRoutines, SplitAsTheSetNamesNeedThem) {
  EXPECT_EQ(PathFolder("C:\\Dati\\x.mdb"), "C:\\Dati\\");
  EXPECT_EQ(PathFolder("C:\\Dati\\"), "C:\\");
  EXPECT_EQ(PathFolder("x.mdb"), "");
  EXPECT_EQ(PathLastPart("C:\\Dati\\x.mdb"), "x.mdb");
  EXPECT_EQ(PathLastPart("C:\\Dati\\"), "Dati");
  EXPECT_EQ(SplitAtLast("C:\\Dati\\x.mdb", false, '\\'), "x.mdb");
  EXPECT_EQ(SplitAtLast("C:\\Dati\\x.mdb", true, '\\'), "C:\\Dati");
  EXPECT_EQ(SplitAtLast("x.mdb", false, '\\'), "");
}

class SplitJoin : public ::testing::Test {
 protected:
  FakeSystem sys;
  Services services = sys.services();
  const std::string source = "C:\\Dati\\x.mdb";
  const std::string catalogue = "C:\\Dati\\071226.gbt";

  // Splits a file of this size with this piece size, checks the pieces,
  // then joins them over a spoilt data file and expects the original back.
  void RoundTrip(size_t size, int32_t pieceSize, int32_t expectedPieces) {
    const std::string data = Pattern(size);
    sys.files.AddFile(source, data);
    // Pieces of an earlier, longer set are written over and cut to length.
    for (int32_t k = 1; k <= expectedPieces; ++k)
      sys.files.AddFile(source + "." + PieceNumberText(k), std::string(pieceSize + 100, 'v'));
    std::string error;
    int32_t count = 0;
    ASSERT_TRUE(SplitFile(services, source, 1, error, count, pieceSize, catalogue)) << error;
    EXPECT_EQ(count, expectedPieces);
    for (int32_t k = 1; k <= count; ++k) {
      const std::string piece = sys.files.Content(source + "." + PieceNumberText(k));
      const size_t expected = k < count ? pieceSize : size - size_t(k - 1) * pieceSize;
      EXPECT_EQ(piece.size(), expected + kPieceOverhead) << "piece " << k;
    }
    EXPECT_FALSE(sys.files.Exists(source + "." + PieceNumberText(count + 1)));

    sys.files.AddFile(source, data + "grown since the backup");
    // The user's own files whose names a scratch file could take stay as they are.
    sys.files.AddFile(source + ".tmp", "the user's");
    sys.files.AddFile("C:\\Dati\\~KVB0000.TMP", "also the user's");
    ASSERT_TRUE(JoinFile(services, catalogue, true, ""));
    EXPECT_EQ(sys.files.Content(source), data);
    EXPECT_EQ(sys.files.Content(source + ".tmp"), "the user's");
    EXPECT_EQ(sys.files.Content("C:\\Dati\\~KVB0000.TMP"), "also the user's");
    EXPECT_FALSE(sys.files.Exists("C:\\Dati\\~KVB0001.TMP"));
    EXPECT_TRUE(sys.ui.boxes.empty());
  }
};

TEST_F(SplitJoin, RoundTripsByteExactForEverySizeClass) {
  RoundTrip(1, 10, 1);
  RoundTrip(10, 10, 1);
  RoundTrip(11, 10, 2);
  RoundTrip(95, 10, 10);
}

TEST_F(SplitJoin, FloppySizedPiecesSplitAtTheBoundary) {
  RoundTrip(2 * size_t(kPieceSize), kPieceSize, 2);
  RoundTrip(2 * size_t(kPieceSize) + 1, kPieceSize, 3);
  EXPECT_EQ(sys.files.Content(source + ".003").size(), 1u + kPieceOverhead);
}

TEST_F(SplitJoin, WritesTheCatalogueOfTheSetAndNamesPiecesFromFirst) {
  sys.files.AddFile(source, Pattern(100));
  std::string error;
  int32_t count = 0;
  ASSERT_TRUE(SplitFile(services, source, 1, error, count, kPieceSize, catalogue));
  EXPECT_EQ(count, 1);
  EXPECT_EQ(sys.files.Content("C:\\Dati\\x.mdb.001").size(), 114u);
  auto record = DecodeCatalogue(sys.files.Content(catalogue), sys.platform);
  ASSERT_TRUE(record);
  EXPECT_EQ(sys.files.Content(catalogue).size(), 35u);
  EXPECT_EQ(record->SourcePath, source);
  EXPECT_EQ(record->PieceFolder, "C:\\Dati\\");
  EXPECT_EQ(record->FirstNumber, 1);

  ASSERT_TRUE(SplitFile(services, source, 998, error, count, 40, catalogue));
  EXPECT_TRUE(sys.files.Exists("C:\\Dati\\x.mdb.998"));
  EXPECT_TRUE(sys.files.Exists("C:\\Dati\\x.mdb.1000"));
  ASSERT_TRUE(JoinFile(services, catalogue, false, "C:\\Dati\\copia.mdb"));
  EXPECT_EQ(sys.files.Content("C:\\Dati\\copia.mdb"), Pattern(100));
}

TEST_F(SplitJoin, WithoutACatalogueNameEverythingGoesBesideTheSource) {
  sys.files.AddFile(source, Pattern(30));
  ASSERT_TRUE(sys.files.SetCurrentFolder("C:\\"));
  std::string error;
  int32_t count = 0;
  ASSERT_TRUE(SplitFile(services, source, 1, error, count, 20, ""));
  EXPECT_TRUE(sys.files.Exists("C:\\Dati\\x.mdb.tpl"));
  EXPECT_TRUE(sys.files.Exists("C:\\Dati\\x.mdb.002"));
  EXPECT_FALSE(sys.files.Exists("C:\\x.mdb.001"));
}

TEST_F(SplitJoin, SplitReportsFailuresWithoutShowingAnything) {
  std::string error;
  int32_t count = -1;
  EXPECT_FALSE(SplitFile(services, source, 1, error, count, kPieceSize, catalogue));
  EXPECT_EQ(error, "Impossibile trovare il file specificato.");

  sys.files.AddFile(source, Pattern(30));
  sys.files.Lock(source + ".002");
  sys.files.AddFile(source + ".002", "old");
  error.clear();
  EXPECT_FALSE(SplitFile(services, source, 1, error, count, 20, catalogue));
  EXPECT_FALSE(error.empty());

  error.clear();
  EXPECT_FALSE(SplitFile(services, source, 1, error, count, 0, catalogue));
  EXPECT_FALSE(error.empty());
  // An empty file (emptied since the program started) is not cut.
  sys.files.AddFile("C:\\Dati\\vuoto.mdb", "");
  EXPECT_FALSE(SplitFile(services, "C:\\Dati\\vuoto.mdb", 1, error, count, 20, catalogue));
  EXPECT_EQ(error, "Il file C:\\Dati\\vuoto.mdb è vuoto: non c'è nulla da salvare.");
  EXPECT_FALSE(sys.files.Exists("C:\\Dati\\vuoto.mdb.001"));
  // A data file held open by another program is not cut.
  sys.files.Lock(source);
  EXPECT_FALSE(SplitFile(services, source, 1, error, count, 20, catalogue));
  EXPECT_EQ(error, "Impossibile accedere al file. Il file è utilizzato da un altro processo.");
  // One byte per piece would need more pieces than a catalogue can count.
  sys.files.AddFile("C:\\Dati\\big.mdb", std::string(40000, 'x'));
  error.clear();
  EXPECT_FALSE(SplitFile(services, "C:\\Dati\\big.mdb", 1, error, count, 1, catalogue));
  EXPECT_NE(error.find("big.mdb"), std::string::npos);
  EXPECT_TRUE(sys.ui.boxes.empty());
}

TEST_F(SplitJoin, DamagedOrMissingPiecesLeaveTheDataFileUntouched) {
  const std::string data = Pattern(50);
  sys.files.AddFile(source, data);
  std::string error;
  int32_t count = 0;
  ASSERT_TRUE(SplitFile(services, source, 1, error, count, 20, catalogue));
  const std::string current = "the data file as it is now";

  auto joinFails = [&](const char* what) {
    sys.files.AddFile(source, current);
    sys.ui.boxes.clear();
    EXPECT_FALSE(JoinFile(services, catalogue, true, "")) << what;
    EXPECT_EQ(sys.files.Content(source), current) << what;
    ASSERT_EQ(sys.ui.boxes.size(), 1u) << what;
    EXPECT_EQ(sys.ui.boxes[0].title, "Tessaro Backup");
    EXPECT_EQ(sys.ui.boxes[0].icon, MsgIcon::Critical);
  };

  const std::string piece2 = sys.files.Content(source + ".002");
  sys.files.AddFile(source + ".002", piece2.substr(0, piece2.size() - 1));
  joinFails("truncated piece");
  sys.files.AddFile(source + ".002", EncodePiece(Pattern(19)));
  joinFails("piece of another size");
  ASSERT_TRUE(sys.files.Delete(source + ".002"));
  joinFails("missing piece");
  sys.files.AddFile(source + ".002", piece2);
  sys.files.AddFile(catalogue, sys.files.Content(catalogue).substr(0, 10));
  joinFails("short catalogue");
  EXPECT_GE(sys.ui.beeps, 4);

  // Piece 2 has its size but not its framing: the join stops half-way, after
  // piece 1 went into the scratch file, and the data file stays.
  ASSERT_TRUE(SplitFile(services, source, 1, error, count, 20, catalogue));
  std::string badTrailer = sys.files.Content(source + ".002");
  badTrailer.back() = 'x';
  sys.files.AddFile(source + ".002", badTrailer);
  joinFails("piece with a wrong trailing size");
  EXPECT_FALSE(sys.files.Exists("C:\\Dati\\~KVB0000.TMP"));

  // The pieces are read beside the catalogue, wherever its stored folder points.
  sys.files.AddFile(source, data);
  ASSERT_TRUE(SplitFile(services, source, 1, error, count, 20, catalogue));
  BackupCatalogue elsewhere = *DecodeCatalogue(sys.files.Content(catalogue), sys.platform);
  elsewhere.PieceFolder = "\\\\server\\share\\";
  sys.files.AddFile(catalogue, *EncodeCatalogue(elsewhere, sys.platform));
  sys.files.AddFile(source, current);
  ASSERT_TRUE(JoinFile(services, catalogue, true, ""));
  EXPECT_EQ(sys.files.Content(source), data);

  // The output cannot be replaced: the scratch copy goes, the file stays,
  // and the box says the file is in use.
  sys.files.Lock(source);
  sys.ui.boxes.clear();
  EXPECT_FALSE(JoinFile(services, catalogue, true, ""));
  EXPECT_FALSE(sys.files.Exists("C:\\Dati\\~KVB0000.TMP"));
  ASSERT_EQ(sys.ui.boxes.size(), 1u);
  EXPECT_EQ(sys.ui.boxes[0].text.find("Impossibile sostituire il file, in uso"), 0u);

  EXPECT_FALSE(JoinFile(services, "", true, ""));
}

}  // namespace
}  // namespace tessaro
