#include "printer/archive.h"

#include <gtest/gtest.h>

#include "tests/support/fake_settings_store.h"

namespace kvitra {
namespace {

using testing_support::NativePath;

TEST(ArchiveStamp, LocalTimeWithoutMillisecondsOrZone) {
  EXPECT_EQ(ArchiveStamp({2021, 9, 13, 10, 11, 28, 450}), "2021-09-13T10_11_28");
  EXPECT_EQ(ArchiveStamp({2024, 1, 2, 9, 5, 3, 7}), "2024-01-02T09_05_03");
  EXPECT_EQ(ArchiveCopyName(NativePath("/home/kasa/Documents/KVITRA"), {2021, 9, 13, 10, 11, 28, 450}, 1),
            NativePath("/home/kasa/Documents/KVITRA/PAR_2021-09-13T10_11_28.1"));
}

TEST(ArchiveDirFor, UnknownDocumentsFolderGivesRootDirectory) {
  EXPECT_EQ(ArchiveDirFor(NativePath("/home/kasa/Documents")), NativePath("/home/kasa/Documents/KVITRA"));
  EXPECT_EQ(ArchiveDirFor(""), NativePath("/KVITRA"));
}

TEST(ReplaceChars, ReplacesEveryOccurrence) {
  std::string text = "a b:c  ::";
  ReplaceChars(text, " :", '_');
  EXPECT_EQ(text, "a_b_c____");
  std::string same = "abc";
  ReplaceChars(same, "xa", 'a');  // a replacement inside the set still ends
  EXPECT_EQ(same, "abc");
}

class MakeDirectoryPathTest : public ::testing::Test {
 protected:
  testing_support::MemoryFiles files;
};

TEST_F(MakeDirectoryPathTest, CreatesEveryMissingLevelInOrder) {
  files.directories.insert(NativePath("/home"));
  EXPECT_TRUE(MakeDirectoryPath(files, NativePath("/home/kasa/Documents/KVITRA/")));
  EXPECT_EQ(files.madeDirectories,
            (std::vector<std::string>{NativePath("/home/kasa"), NativePath("/home/kasa/Documents"), NativePath("/home/kasa/Documents/KVITRA")}));
}

TEST_F(MakeDirectoryPathTest, ExistingDirectoryNeedsNothing) {
  files.directories.insert(NativePath("/srv/KVITRA"));
  EXPECT_TRUE(MakeDirectoryPath(files, NativePath("/srv/KVITRA")));
  EXPECT_TRUE(files.madeDirectories.empty());
}

TEST_F(MakeDirectoryPathTest, NetworkPathWhoseFirstLevelCannotBeCreatedFails) {
  files.refusedDirectories.insert(NativePath("//server"));
  EXPECT_FALSE(MakeDirectoryPath(files, NativePath("//server/share/Documents/KVITRA")));
  EXPECT_TRUE(files.madeDirectories.empty());
}

TEST_F(MakeDirectoryPathTest, LevelThatIsAFileFails) {
  files.directories.insert(NativePath("/home"));
  files.files[NativePath("/home/kasa")] = "not a directory";
  EXPECT_FALSE(MakeDirectoryPath(files, NativePath("/home/kasa/KVITRA")));
}

TEST_F(MakeDirectoryPathTest, RelativePathAndDoubledSeparators) {
  EXPECT_TRUE(MakeDirectoryPath(files, "a//b"));
  EXPECT_EQ(files.madeDirectories, (std::vector<std::string>{"a", "a//b"}));
}

}  // namespace
}  // namespace kvitra
