#include "path_split.h"

#include <gtest/gtest.h>

namespace tessaro {
namespace {

TEST(FileNamePart, TakesTheTextAfterTheLastBackslash) {
  EXPECT_EQ(FileNamePart("C:\\a\\b.dll"), "b.dll");
  EXPECT_EQ(FileNamePart("b.dll"), "b.dll");
  EXPECT_EQ(FileNamePart("C:\\a\\"), "");
  EXPECT_EQ(FileNamePart("C:b.dll"), "C:b.dll");  // only "\" separates here
  EXPECT_EQ(FileNamePart("\\\\server\\share\\Contabilità.mde"), "Contabilità.mde");
  EXPECT_EQ(FileNamePart(""), "");
}

TEST(FolderOfPath, KeepsTheLastBackslashOrColon) {
  EXPECT_EQ(FolderOfPath("C:\\a\\b.dll"), "C:\\a\\");
  EXPECT_EQ(FolderOfPath("C:b.dll"), "C:");
  EXPECT_EQ(FolderOfPath("C:\\"), "C:\\");
  EXPECT_EQ(FolderOfPath("C:\\Programmi\\Città\\dati.mdb"), "C:\\Programmi\\Città\\");
  // The last separator wins, whichever kind it is.
  EXPECT_EQ(FolderOfPath("a\\b:c"), "a\\b:");
}

TEST(FolderOfPath, IsEmptyWithoutSeparatorOrWithALeadingColon) {
  EXPECT_EQ(FolderOfPath("b.dll"), "");
  EXPECT_EQ(FolderOfPath(""), "");
  EXPECT_EQ(FolderOfPath(":"), "");
  EXPECT_EQ(FolderOfPath(":a\\b.dll"), "");
}

}  // namespace
}  // namespace tessaro
