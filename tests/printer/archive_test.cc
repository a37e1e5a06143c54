#include "printer/archive.h"

#include <gtest/gtest.h>

#include "tests/printer/fake_platform.h"

namespace kvitra {
namespace {

TEST(ArchiveStamp, LocalTimeWithoutMillisecondsOrZone) {
  EXPECT_EQ(ArchiveStamp({2021, 9, 13, 10, 11, 28, 450}), "2021-09-13T10_11_28");
  EXPECT_EQ(ArchiveStamp({2024, 1, 2, 9, 5, 3, 7}), "2024-01-02T09_05_03");
  EXPECT_EQ(ArchiveCopyName("/home/kasa/Documents/KVITRA", {2021, 9, 13, 10, 11, 28, 450}, 1),
            "/home/kasa/Documents/KVITRA/PAR_2021-09-13T10_11_28.1");
}

TEST(ArchiveDirFor, UnknownDocumentsFolderGivesRootDirectory) {
  EXPECT_EQ(ArchiveDirFor("/home/kasa/Documents"), "/home/kasa/Documents/KVITRA");
  EXPECT_EQ(ArchiveDirFor(""), "/KVITRA");
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
  testing_support::FakeFiles files;
};

TEST_F(MakeDirectoryPathTest, CreatesEveryMissingLevelInOrder) {
  files.dirs.insert("/home");
  EXPECT_TRUE(MakeDirectoryPath(files, "/home/kasa/Documents/KVITRA/"));
  EXPECT_EQ(files.madeDirs,
            (std::vector<std::string>{"/home/kasa", "/home/kasa/Documents", "/home/kasa/Documents/KVITRA"}));
}

TEST_F(MakeDirectoryPathTest, ExistingDirectoryNeedsNothing) {
  files.dirs.insert("/srv/KVITRA");
  EXPECT_TRUE(MakeDirectoryPath(files, "/srv/KVITRA"));
  EXPECT_TRUE(files.madeDirs.empty());
}

TEST_F(MakeDirectoryPathTest, NetworkPathWhoseFirstLevelCannotBeCreatedFails) {
  files.refusedDirs.insert("//server");
  EXPECT_FALSE(MakeDirectoryPath(files, "//server/share/Documents/KVITRA"));
  EXPECT_TRUE(files.madeDirs.empty());
}

TEST_F(MakeDirectoryPathTest, LevelThatIsAFileFails) {
  files.dirs.insert("/home");
  files.files["/home/kasa"] = "not a directory";
  EXPECT_FALSE(MakeDirectoryPath(files, "/home/kasa/KVITRA"));
}

TEST_F(MakeDirectoryPathTest, RelativePathAndDoubledSeparators) {
  EXPECT_TRUE(MakeDirectoryPath(files, "a//b"));
  EXPECT_EQ(files.madeDirs, (std::vector<std::string>{"a", "a//b"}));
}

}  // namespace
}  // namespace kvitra
