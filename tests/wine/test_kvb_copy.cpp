// The backup program's copy with progress and the emptying of a floppy
// against real files, through the Win32 layer.
#include <gtest/gtest.h>
#include <windows.h>

#include "copy_progress.h"
#include "fakes/tag_canvas.h"
#include "in_process.h"
#include "support.h"
#include "win32/wide.h"

namespace tessaro {
namespace {

struct CounterView : kvb::SplitView {
  void MoveTo(int, int) override {}
  bool SetTopMost(bool) override { return true; }
  void SetTimerEnabled(bool) override {}
  bool TimerEnabled() override { return true; }
  void SetButtonEnabled(kvb::SplitButton, bool) override {}
  void SetCloseCaption(const std::string&) override {}
  void ShowAnimFrame(int) override {}
  ProgressCanvas& StatusBar(int index) override { return bars[index]; }
  void SetStatusText(const std::string& text) override { texts.push_back(text); }
  std::vector<kvb::TopWindow> TopWindows() override { return {}; }
  fakes::TagCanvas bars[2]{fakes::TagCanvas(3400, 250), fakes::TagCanvas(3400, 250)};
  std::vector<std::string> texts;
};

struct KvbCopyOnDisk : ::testing::Test, wine::Win32Machine<> {
  void Write(const std::string& path, const std::string& bytes, DWORD attributes = 0) {
    ASSERT_TRUE(files.WriteAll(path, bytes)) << path;
    if (attributes) SetFileAttributesW(Widen(path).c_str(), attributes);
  }
  CounterView view;
  kvb::ByteCounters counters;
  std::string folder = wine_test::scratch_folder("KvbCopyOnDisk");
};

TEST_F(KvbCopyOnDisk, CopiesExactlyOverALongerTargetAndReportsAMissingSource) {
  std::string data;
  for (int i = 0; i < 64001; ++i) data += static_cast<char>(i * 7);
  Write(folder + "\\archivio.mdb", data);
  Write(folder + "\\archivio.001", std::string(100000, 'x'));
  counters.TotalBytes = 64001;
  EXPECT_TRUE(kvb::CopyWithProgress(view, sys, counters, folder + "\\archivio.mdb",
                                    folder + "\\archivio.001"));
  EXPECT_EQ(wine_test::read_file(folder + "\\archivio.001"), data);
  EXPECT_EQ(view.bars[0].tags, (std::vector<std::string>{"50", "100", "100"}));
  ASSERT_EQ(view.texts.size(), 3u);
  EXPECT_EQ(view.texts[2].substr(0, 15), "Bytes copiati: ");
  EXPECT_TRUE(ui.boxes.empty());
  // Read back past the cache, the copy compares equal; one byte changed does not.
  auto readBack = [&] {
    FileStatus status;
    auto original = files.OpenForReading(folder + "\\archivio.mdb", status);
    return original && kvb::ReadBackMatches(view, sys, counters, *original, folder + "\\archivio.001");
  };
  EXPECT_TRUE(readBack());
  Write(folder + "\\archivio.001", data.substr(0, 64000) + "x");
  EXPECT_FALSE(readBack());

  EXPECT_FALSE(
      kvb::CopyWithProgress(view, sys, counters, folder + "\\manca.mdb", folder + "\\manca.001"));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_FALSE(ui.boxes[0].empty());  // the system's own description
}

TEST_F(KvbCopyOnDisk, ClearDirLeavesTheFolderEmpty) {
  Write(folder + "\\a.001", "uno");
  Write(folder + "\\sola lettura.txt", "due", FILE_ATTRIBUTE_READONLY);
  Write(folder + "\\nascosto.dat", "tre", FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(files.CreateFolder(folder + "\\Vecchio"));
  ASSERT_TRUE(files.CreateFolder(folder + "\\Vecchio\\Sotto"));
  Write(folder + "\\Vecchio\\Sotto\\b.txt", "quattro", FILE_ATTRIBUTE_READONLY);
  kvb::ClearDir(sys, folder);
  EXPECT_TRUE(wine_test::list_files(folder).empty());
  EXPECT_FALSE(wine_test::exists(folder + "\\Vecchio"));
  EXPECT_TRUE(wine_test::exists(folder));
}

}  // namespace
}  // namespace tessaro
