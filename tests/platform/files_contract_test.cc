// The files facility: atomic replacement, copies that never replace, names in
// any letter case, one directory level at a time, bounded reads.
#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "platform/paths.h"
#include "tests/platform/contract_host.h"

namespace platform {
namespace {

using contract::EntryCount;
using contract::ReadFile;
using contract::ScratchDir;
using contract::WriteFile;

Files& files = SystemFiles();

// Every byte value a job may hold, NUL and CR LF included.
const std::string kBytes = std::string("##\0\x9C\xA3\r\n\xFF", 8);

TEST(FilesContract, ReplaceContentsReplacesOrCreatesAndLeavesNoTemporaryFile) {
  ScratchDir dir;
  WriteFile(dir / "FAK_DANE.DAT", "a long job that is longer than the result");
  EXPECT_TRUE(files.ReplaceContents(dir / "FAK_DANE.DAT", kBytes).ok());
  EXPECT_EQ(ReadFile(dir / "FAK_DANE.DAT"), kBytes);
  EXPECT_TRUE(files.ReplaceContents(dir / "NEW.DAT", "##1").ok());
  EXPECT_EQ(ReadFile(dir / "NEW.DAT"), "##1");
  EXPECT_EQ(EntryCount(dir.path()), 2u);
}

TEST(FilesContract, ReplaceContentsThatCannotCreateKeepsWhatIsThere) {
  ScratchDir dir;
  EXPECT_EQ(files.ReplaceContents(JoinPath(dir / "missing", "FAK_DANE.DAT"), "##1").kind(),
            FailureKind::CreateFailed);
  ASSERT_TRUE(files.MakeDirectory(dir / "FAK_DANE.DAT").ok());
  EXPECT_EQ(files.ReplaceContents(dir / "FAK_DANE.DAT", "##1").kind(), FailureKind::CreateFailed);
  EXPECT_TRUE(files.DirectoryExists(dir / "FAK_DANE.DAT"));
  EXPECT_EQ(EntryCount(dir.path()), 1u);
}

TEST(FilesContract, CopyNoReplaceCopiesWholeAndNeverReplaces) {
  ScratchDir dir;
  const std::string big = kBytes + std::string(200 * 1024, 'x');  // more than one copy step
  WriteFile(dir / "FAK_DANE.DAT", big);
  ASSERT_TRUE(files.CopyNoReplace(dir / "FAK_DANE.DAT", dir / "PAR_1").ok());
  EXPECT_EQ(ReadFile(dir / "PAR_1"), big);

  WriteFile(dir / "FAK_DANE.DAT", "second job");
  EXPECT_FALSE(files.CopyNoReplace(dir / "FAK_DANE.DAT", dir / "PAR_1").ok());
  EXPECT_EQ(ReadFile(dir / "PAR_1"), big);
  EXPECT_FALSE(files.CopyNoReplace(dir / "MISSING.DAT", dir / "PAR_2").ok());
  EXPECT_FALSE(files.CopyNoReplace(dir / "FAK_DANE.DAT", JoinPath(dir / "missing", "PAR_3")).ok());
  EXPECT_EQ(EntryCount(dir.path()), 2u);  // nothing half-made stays behind
}

// A system whose names ignore letter case may give the name back as asked;
// either way the name found opens the file.
TEST(FilesContract, ResolveNameFindsTheFileInAnyLetterCase) {
  ScratchDir dir;
  WriteFile(dir / "fak_dane.dat", "x");
  WriteFile(dir / "PORT.CFG", "y");
  struct Case {
    std::string asked, unchanged;
  } unchanged[] = {
      {dir / "PORT.CFG", dir / "PORT.CFG"},
      {dir / "MISSING.DAT", dir / "MISSING.DAT"},
      {JoinPath(dir / "nodir", "PORT.CFG"), JoinPath(dir / "nodir", "PORT.CFG")},
  };
  for (const Case& c : unchanged) EXPECT_EQ(files.ResolveName(c.asked), c.unchanged) << c.asked;
  const std::string found = files.ResolveName(dir / "FAK_DANE.DAT");
  EXPECT_TRUE(files.FileExists(found)) << found;
  const Result<std::string> read = files.ReadPrefix(found, 10);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(*read, "x");
}

TEST(FilesContract, DirectoriesAreMadeOneLevelAtATimeAndAreNoFiles) {
  ScratchDir dir;
  WriteFile(dir / "file", "");
  EXPECT_TRUE(files.MakeDirectory(dir / "KVITRA").ok());
  EXPECT_FALSE(files.MakeDirectory(dir / "KVITRA").ok());                      // exists
  EXPECT_FALSE(files.MakeDirectory(JoinPath(dir / "missing", "KVITRA")).ok());  // parent missing
  EXPECT_TRUE(files.DirectoryExists(dir / "KVITRA"));
  EXPECT_FALSE(files.FileExists(dir / "KVITRA"));
  EXPECT_TRUE(files.FileExists(dir / "file"));
  EXPECT_FALSE(files.DirectoryExists(dir / "file"));
  EXPECT_FALSE(files.FileExists(dir / "none"));
}

TEST(FilesContract, MakingEachLevelInTurnMakesTheWholePath) {
  ScratchDir dir;
  const std::string deep = JoinPath(JoinPath(dir / "a", "b"), "c");
  for (const std::string& level : DirectoryLevels(deep)) {
    if (!files.DirectoryExists(level)) {
      ASSERT_TRUE(files.MakeDirectory(level).ok()) << level;
    }
  }
  EXPECT_TRUE(files.DirectoryExists(deep));
  EXPECT_EQ(DirectoryLevels(deep).back(), deep);
}

TEST(FilesContract, ReadsAreBoundedAndDirectoriesCannotBeRead) {
  ScratchDir dir;
  WriteFile(dir / "job", kBytes);
  const Result<std::string> read = files.ReadPrefix(dir / "job", 3);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(*read, kBytes.substr(0, 3));
  EXPECT_FALSE(files.ReadPrefix(dir.path(), 10).ok());
  EXPECT_FALSE(files.OpenRead(dir.path()).ok());

  Result<std::unique_ptr<InputFile>> input = files.OpenRead(dir / "job");
  ASSERT_TRUE(input.ok());
  char buffer[16];
  Result<size_t> got = (*input)->Read(buffer, sizeof buffer);
  ASSERT_TRUE(got.ok());
  EXPECT_EQ(*got, 8u);
  EXPECT_EQ(std::string(buffer, 8), kBytes);
  got = (*input)->Read(buffer, sizeof buffer);
  ASSERT_TRUE(got.ok());
  EXPECT_EQ(*got, 0u);
}

// A failure carries its cause: the system's code ("not found" is 2 on both
// systems) and what was being done, to which file.
TEST(FilesContract, AFailureNamesTheFileAndTheSystemsCause) {
  ScratchDir dir;
  const Result<std::string> read = files.ReadPrefix(dir / "missing", 10);
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.status().systemCode(), 2);
  EXPECT_FALSE(read.status().systemText().empty());
  EXPECT_NE(read.status().ToString().find(dir / "missing"), std::string::npos) << read.status().ToString();
  EXPECT_EQ(files.OpenRead(dir / "missing").status().systemCode(), 2);
}

// Kvitra opens the host's files without sharing them: not while the host
// still has one open, even sharing it, and never over a file held unshared.
TEST(FilesContract, FilesOthersHoldOpenAreNeitherReadNorReplaced) {
  if (!contract::SystemCapabilities().shareModes) GTEST_SKIP() << "this system has no share modes";
  ScratchDir dir;
  WriteFile(dir / "FAK_DANE.DAT", "job");
  {
    auto host = contract::HoldOpen(dir / "FAK_DANE.DAT", true);
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(files.OpenRead(dir / "FAK_DANE.DAT").ok());
    EXPECT_FALSE(files.ReadPrefix(dir / "FAK_DANE.DAT", 10).ok());
  }
  {
    auto host = contract::HoldOpen(dir / "FAK_DANE.DAT", false);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(files.ReplaceContents(dir / "FAK_DANE.DAT", "##1").kind(), FailureKind::CreateFailed);
  }
  EXPECT_EQ(ReadFile(dir / "FAK_DANE.DAT"), "job");
  EXPECT_EQ(EntryCount(dir.path()), 1u);
  EXPECT_TRUE(files.ReadPrefix(dir / "FAK_DANE.DAT", 10).ok());
}

}  // namespace
}  // namespace platform
