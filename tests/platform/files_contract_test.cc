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
  EXPECT_EQ(files.ReplaceContents(dir / "FAK_DANE.DAT", kBytes), WriteResult::Ok);
  EXPECT_EQ(ReadFile(dir / "FAK_DANE.DAT"), kBytes);
  EXPECT_EQ(files.ReplaceContents(dir / "NEW.DAT", "##1"), WriteResult::Ok);
  EXPECT_EQ(ReadFile(dir / "NEW.DAT"), "##1");
  EXPECT_EQ(EntryCount(dir.path()), 2u);
}

TEST(FilesContract, ReplaceContentsThatCannotCreateKeepsWhatIsThere) {
  ScratchDir dir;
  EXPECT_EQ(files.ReplaceContents(JoinPath(dir / "missing", "FAK_DANE.DAT"), "##1"), WriteResult::CreateFailed);
  ASSERT_TRUE(files.MakeDirectory(dir / "FAK_DANE.DAT"));
  EXPECT_EQ(files.ReplaceContents(dir / "FAK_DANE.DAT", "##1"), WriteResult::CreateFailed);
  EXPECT_TRUE(files.DirectoryExists(dir / "FAK_DANE.DAT"));
  EXPECT_EQ(EntryCount(dir.path()), 1u);
}

TEST(FilesContract, CopyNoReplaceCopiesWholeAndNeverReplaces) {
  ScratchDir dir;
  const std::string big = kBytes + std::string(200 * 1024, 'x');  // more than one copy step
  WriteFile(dir / "FAK_DANE.DAT", big);
  ASSERT_TRUE(files.CopyNoReplace(dir / "FAK_DANE.DAT", dir / "PAR_1"));
  EXPECT_EQ(ReadFile(dir / "PAR_1"), big);

  WriteFile(dir / "FAK_DANE.DAT", "second job");
  EXPECT_FALSE(files.CopyNoReplace(dir / "FAK_DANE.DAT", dir / "PAR_1"));
  EXPECT_EQ(ReadFile(dir / "PAR_1"), big);
  EXPECT_FALSE(files.CopyNoReplace(dir / "MISSING.DAT", dir / "PAR_2"));
  EXPECT_FALSE(files.CopyNoReplace(dir / "FAK_DANE.DAT", JoinPath(dir / "missing", "PAR_3")));
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
  std::string out;
  EXPECT_EQ(files.ReadPrefix(found, 10, out), ReadResult::Ok);
  EXPECT_EQ(out, "x");
}

TEST(FilesContract, DirectoriesAreMadeOneLevelAtATimeAndAreNoFiles) {
  ScratchDir dir;
  WriteFile(dir / "file", "");
  EXPECT_TRUE(files.MakeDirectory(dir / "KVITRA"));
  EXPECT_FALSE(files.MakeDirectory(dir / "KVITRA"));                      // exists
  EXPECT_FALSE(files.MakeDirectory(JoinPath(dir / "missing", "KVITRA")));  // parent missing
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
      ASSERT_TRUE(files.MakeDirectory(level)) << level;
    }
  }
  EXPECT_TRUE(files.DirectoryExists(deep));
  EXPECT_EQ(DirectoryLevels(deep).back(), deep);
}

TEST(FilesContract, ReadsAreBoundedAndDirectoriesCannotBeRead) {
  ScratchDir dir;
  WriteFile(dir / "job", kBytes);
  std::string out;
  EXPECT_EQ(files.ReadPrefix(dir / "job", 3, out), ReadResult::Ok);
  EXPECT_EQ(out, kBytes.substr(0, 3));
  EXPECT_EQ(files.ReadPrefix(dir / "missing", 10, out), ReadResult::OpenFailed);
  EXPECT_EQ(files.ReadPrefix(dir.path(), 10, out), ReadResult::OpenFailed);
  EXPECT_EQ(files.OpenRead(dir.path()), nullptr);

  std::unique_ptr<InputFile> input = files.OpenRead(dir / "job");
  ASSERT_NE(input, nullptr);
  char buffer[16];
  EXPECT_EQ(input->Read(buffer, sizeof buffer), 8);
  EXPECT_EQ(std::string(buffer, 8), kBytes);
  EXPECT_EQ(input->Read(buffer, sizeof buffer), 0);
}

// Kvitra opens the host's files without sharing them: not while the host
// still has one open, even sharing it, and never over a file held unshared.
TEST(FilesContract, FilesOthersHoldOpenAreNeitherReadNorReplaced) {
  if (!contract::SystemCapabilities().shareModes) GTEST_SKIP() << "this system has no share modes";
  ScratchDir dir;
  WriteFile(dir / "FAK_DANE.DAT", "job");
  std::string out;
  {
    auto host = contract::HoldOpen(dir / "FAK_DANE.DAT", true);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(files.OpenRead(dir / "FAK_DANE.DAT"), nullptr);
    EXPECT_EQ(files.ReadPrefix(dir / "FAK_DANE.DAT", 10, out), ReadResult::OpenFailed);
  }
  {
    auto host = contract::HoldOpen(dir / "FAK_DANE.DAT", false);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(files.ReplaceContents(dir / "FAK_DANE.DAT", "##1"), WriteResult::CreateFailed);
  }
  EXPECT_EQ(ReadFile(dir / "FAK_DANE.DAT"), "job");
  EXPECT_EQ(EntryCount(dir.path()), 1u);
  EXPECT_EQ(files.ReadPrefix(dir / "FAK_DANE.DAT", 10, out), ReadResult::Ok);
}

}  // namespace
}  // namespace platform
