// The destination checks and folder creation on the real file system, and
// version numbers read from real version resources, through the Win32 layer.
#include <gtest/gtest.h>
#include <windows.h>

#include "engine/destination.h"
#include "in_process.h"
#include "installer_state.h"
#include "services/file_version.h"
#include "support.h"
#include "texts.h"
#include "win32/wide.h"

namespace tessaro {
namespace {

// Yes/No boxes are answered Yes.
struct RealWindows : ::testing::Test, wine::Win32Machine<> {
  InstallerState state;
  InstallerContext cx{sys, state};

  RealWindows() {
    ui.answerYes = true;
    state.package.AppShortName = "Magazzino";
  }
};

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesW(Widen(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteFileWithAttributes(const std::string& path, DWORD attributes) {
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            attributes, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

using DestinationFolders = RealWindows;

TEST_F(DestinationFolders, NestedFolderIsCreatedLevelByLevel) {
  const std::string base = wine_test::scratch_folder("DestinationFolders");
  ASSERT_FALSE(base.empty());
  const std::string deep = base + "\\Nuova\\Città\\Più giù";
  EXPECT_FALSE(EnsureFolder(cx, deep, false, true));
  EXPECT_TRUE(CreateFolderPath(cx, deep, true));
  EXPECT_TRUE(IsFolder(base + "\\Nuova"));
  EXPECT_TRUE(IsFolder(base + "\\Nuova\\Città"));
  EXPECT_TRUE(IsFolder(deep));
  EXPECT_TRUE(FolderExists(files, deep + "\\"));
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(DestinationFolders, ValidationSeesFilesHiddenFilesAndMissingFolders) {
  const std::string base = wine_test::scratch_folder("DestinationValidation");
  ASSERT_FALSE(base.empty());

  // Empty, then holding only a hidden file and a subfolder: no question.
  std::string typed = " " + base + "\\\\ ";
  EXPECT_FALSE(ValidateDestination(cx, typed));
  EXPECT_EQ(typed, base);
  ASSERT_TRUE(WriteFileWithAttributes(base + "\\nascosto.dat", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(CreateDirectoryW(Widen(base + "\\Sotto").c_str(), nullptr));
  EXPECT_FALSE(ValidateDestination(cx, typed));
  EXPECT_TRUE(ui.boxes.empty());

  // An ordinary file: the question (answered Yes).
  ASSERT_TRUE(WriteFileWithAttributes(base + "\\archivio.mdb", FILE_ATTRIBUTE_NORMAL));
  EXPECT_FALSE(ValidateDestination(cx, typed));
  EXPECT_EQ(ui.boxes, (std::vector<std::string>{texts::kFolderHoldsFiles}));

  // Missing: created on Yes.
  ui.boxes.clear();
  std::string missing = base + "\\Nuova\\Cartella";
  EXPECT_FALSE(ValidateDestination(cx, missing));
  EXPECT_EQ(ui.boxes, (std::vector<std::string>{texts::kCreateMissingFolder}));
  EXPECT_TRUE(IsFolder(missing));

  // Below a file nothing can be made.
  ui.boxes.clear();
  std::string underFile = base + "\\archivio.mdb\\Dati";
  EXPECT_TRUE(ValidateDestination(cx, underFile));
  EXPECT_EQ(ui.boxes,
            (std::vector<std::string>{texts::kCreateMissingFolder, texts::kCannotCreatePath}));

  // A name code page 1252 cannot hold is refused before anything is made;
  // one it holds ("Città") is fine.
  ui.boxes.clear();
  std::string polish = base + "\\Łódź";
  EXPECT_TRUE(ValidateDestination(cx, polish));
  EXPECT_EQ(ui.boxes, (std::vector<std::string>{texts::kForbiddenCharacters}));
  EXPECT_FALSE(IsFolder(polish));
  ui.boxes.clear();
  std::string italian = base + "\\Città";
  EXPECT_FALSE(ValidateDestination(cx, italian));
  EXPECT_TRUE(IsFolder(italian));
}

using FileVersions = RealWindows;

TEST_F(FileVersions, StandInsCarryAllEightStrings) {
  EXPECT_DOUBLE_EQ(GetFileVersionNumber(sys, wine_test::standin("fm20.dll")), 2.0);
  EXPECT_DOUBLE_EQ(GetFileVersionNumber(sys, wine_test::standin("MsVBvm50.dll")), 5.0);
}

TEST_F(FileVersions, ResourceWithoutLegalCopyrightGivesZero) {
  // This test program's own resource has no LegalCopyright (the shipped
  // programs have one).
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::string installer = Narrow(self);
  // The strings are there and readable; the missing one makes the number 0.
  auto values = files.ReadVersionStrings(installer, {"FileVersion", "LegalCopyright"});
  ASSERT_EQ(values.size(), 2u);
  ASSERT_TRUE(values[0].has_value());
  EXPECT_EQ(values[0]->substr(0, 7), "1.0.0.0");
  EXPECT_FALSE(values[1].has_value());
  EXPECT_DOUBLE_EQ(GetFileVersionNumber(cx.sys, installer), 0.0);
}

TEST_F(FileVersions, FilesWithoutAVersionResourceGiveZero) {
  const std::string folder = wine_test::scratch_folder("FileVersions");
  ASSERT_FALSE(folder.empty());
  const std::string text = folder + "\\leggimi.txt";
  ASSERT_TRUE(files.WriteAll(text, "FileVersion 4.0\r\n"));
  EXPECT_TRUE(files.ReadVersionStrings(text, {"FileVersion"}).empty());
  EXPECT_DOUBLE_EQ(GetFileVersionNumber(cx.sys, text), 0.0);
  EXPECT_DOUBLE_EQ(GetFileVersionNumber(cx.sys, folder + "\\manca.dll"), 0.0);
}

}  // namespace
}  // namespace tessaro
