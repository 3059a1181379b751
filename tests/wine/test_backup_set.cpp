// The backup set's split and join against real files, and the file and volume
// calls they rest on, through the Win32 layer.
#include <gtest/gtest.h>
#include <windows.h>

#include "floppy.h"
#include "in_process.h"
#include "set_format.h"
#include "set_label.h"
#include "split_join.h"
#include "support.h"
#include "win32/wide.h"

namespace tessaro {
namespace {

struct BackupSetOnDisk : ::testing::Test, wine::Win32Machine<> {
  std::string folder = wine_test::scratch_folder("BackupSetOnDisk");
};

TEST_F(BackupSetOnDisk, SplitsAndJoinsARealFileByteExact) {
  const std::string source = folder + "\\Contabilità.mdb";
  std::string data(3000000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 13 + i / 977);
  ASSERT_TRUE(files.WriteAll(source, data));

  // An earlier set's pieces, longer than these: written over and cut.
  for (const char* old : {".001", ".003"})
    ASSERT_TRUE(files.WriteAll(source + old, std::string(kPieceSize + 5000, 'v')));
  std::string error;
  int32_t count = 0;
  ASSERT_TRUE(SplitFile(sys, source, 1, error, count, kPieceSize, folder + "\\081226.gbt"))
      << error;
  EXPECT_EQ(count, 3);
  EXPECT_EQ(files.FileLength(source + ".001"), uint64_t{kPieceSize} + kPieceOverhead);
  EXPECT_EQ(files.FileLength(source + ".003"), 3000000u - 2 * kPieceSize + kPieceOverhead);

  ASSERT_TRUE(files.WriteAll(source, data + data.substr(0, 5000)));
  // Files of the user's where a scratch file could go are never touched: the
  // join takes a name that is free.
  ASSERT_TRUE(files.WriteAll(source + ".tmp", "dell'utente"));
  ASSERT_TRUE(files.WriteAll(folder + "\\~KVB0000.TMP", "anche questo"));
  ASSERT_TRUE(JoinFile(sys, folder + "\\081226.gbt", true, ""));
  EXPECT_EQ(wine_test::read_file(source), data);
  EXPECT_EQ(wine_test::read_file(source + ".tmp"), "dell'utente");
  EXPECT_EQ(wine_test::read_file(folder + "\\~KVB0000.TMP"), "anche questo");
  EXPECT_FALSE(files.FileLength(folder + "\\~KVB0001.TMP"));
  EXPECT_TRUE(ui.boxes.empty());

  // A file of 2 GB (sparse, so it costs no disk) is refused before any piece
  // is written.
  const std::string huge = folder + "\\enorme.mdb";
  {
    HANDLE h = CreateFileW(Widen(huge).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = 2147483648LL;
    EXPECT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);
  }
  error.clear();
  EXPECT_FALSE(SplitFile(sys, huge, 1, error, count, kPieceSize, folder + "\\enorme.gbt"));
  EXPECT_NE(error.find("troppo grande"), std::string::npos) << error;
  EXPECT_FALSE(files.FileLength(huge + ".001"));
  EXPECT_FALSE(files.FileLength(folder + "\\enorme.gbt"));
  DeleteFileW(Widen(huge).c_str());
}

TEST_F(BackupSetOnDisk, FileCallsReportLengthsMovesAndReasons) {
  // A failure carries its own reason, whatever runs after it.
  const FileRead<uint64_t> ofFolder = files.FileLength(folder);
  const FileRead<uint64_t> missing = files.FileLength(folder + "\\manca.mdb");
  EXPECT_FALSE(ofFolder);
  EXPECT_EQ(ofFolder.status.fault, FileFault::Denied);
  EXPECT_EQ(ofFolder.status.code, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.status.fault, FileFault::NotFound);
  EXPECT_EQ(missing.status.code, static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
  const std::string why = files.ErrorText(missing.status.code);
  ASSERT_FALSE(why.empty());
  EXPECT_NE(why.back(), '\n');
  EXPECT_NE(files.ErrorText(ERROR_ACCESS_DENIED), why);

  ASSERT_TRUE(files.WriteAll(folder + "\\nuovo.tmp", "nuovo"));
  ASSERT_TRUE(files.WriteAll(folder + "\\dati.mdb", "vecchio e più lungo"));
  ASSERT_TRUE(files.MoveReplacing(folder + "\\nuovo.tmp", folder + "\\dati.mdb"));
  EXPECT_EQ(wine_test::read_file(folder + "\\dati.mdb"), "nuovo");
  EXPECT_EQ(files.FileLength(folder + "\\dati.mdb"), 5u);
  EXPECT_FALSE(files.FileLength(folder + "\\nuovo.tmp"));
}

TEST_F(BackupSetOnDisk, FloppyTakesASetLabelAndAMissingDriveReadsAsSpaces) {
  ASSERT_TRUE(wine_test::floppy::set_up(1, "VECCHIO"));
  ASSERT_TRUE(wine_test::floppy::insert(1));
  EXPECT_EQ(GetVolumeLabel(files, "A:\\"), "VECCHIO");
  ASSERT_TRUE(files.ChangeVolumeLabel("A:\\", "01234-67890"));
  EXPECT_EQ(wine_test::floppy::label(1), "01234-67890");
  // Wine reads a label afresh only when the disk is swapped.
  ASSERT_TRUE(wine_test::floppy::insert(1));
  EXPECT_EQ(GetVolumeLabel(files, "A:\\"), "01234-67890");
  EXPECT_EQ(GetVolumeLabel(files, "Q:\\"), std::string(127, ' '));
}

}  // namespace
}  // namespace tessaro
