// What the Linux files facility does beyond the contract: letter-case twins,
// FIFOs, file modes, symbolic links, a short write.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "tests/printer/temp_dir.h"

namespace platform {
namespace {

using testing_support::TempDir;

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const std::string& path) {
  const Result<std::string> read = SystemFiles().ReadPrefix(path, 1 << 20);
  EXPECT_TRUE(read.ok()) << read.status().ToString();
  return read.ok() ? *read : std::string();
}

size_t EntryCount(const std::string& dir) {
  size_t n = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

const std::string kBytes = std::string("##\0\x9C\xA3\r\n\xFF", 8);

// Linux names keep their letter case: the name found is the one on disk, and
// of two names that differ in letter case alone the choice does not depend on
// the directory order.
TEST(SystemFiles, ResolveNameGivesTheNameOnDisk) {
  TempDir dir;
  Write(dir / "fak_dane.dat", "x");
  EXPECT_EQ(SystemFiles().ResolveName(dir / "FAK_DANE.DAT"), dir / "fak_dane.dat");
  Write(dir / "Fak_Dane.dat", "z");
  EXPECT_EQ(SystemFiles().ResolveName(dir / "FAK_DANE.DAT"), dir / "Fak_Dane.dat");
}

TEST(SystemFiles, AFifoIsNotReadAndDoesNotBlock) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(SystemFiles().ReadPrefix(dir / "fifo", 10).ok());
}

TEST(SystemFiles, ReplaceContentsKeepsTheFileMode) {
  TempDir dir;
  Write(dir / "FAK_DANE.DAT", "a long job that is longer than the result");
  ASSERT_EQ(chmod((dir / "FAK_DANE.DAT").c_str(), 0640), 0);
  EXPECT_TRUE(SystemFiles().ReplaceContents(dir / "FAK_DANE.DAT", kBytes).ok());
  EXPECT_EQ(Read(dir / "FAK_DANE.DAT"), kBytes);
  struct stat st {};
  ASSERT_EQ(stat((dir / "FAK_DANE.DAT").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(SystemFiles, ReplaceContentsReplacesASymbolicLinkNotItsTarget) {
  TempDir dir;
  Write(dir / "elsewhere", "keep me");
  ASSERT_EQ(symlink((dir / "elsewhere").c_str(), (dir / "FAK_DANE.DAT").c_str()), 0);
  EXPECT_TRUE(SystemFiles().ReplaceContents(dir / "FAK_DANE.DAT", "##1").ok());
  EXPECT_EQ(Read(dir / "elsewhere"), "keep me");
  EXPECT_EQ(Read(dir / "FAK_DANE.DAT"), "##1");
}

TEST(SystemFiles, ShortWriteIsAFailureAndKeepsTheOldFile) {
  TempDir dir;
  Write(dir / "FAK_DANE.DAT", "the job");
  // A file-size limit of 4 bytes cuts the write short, as a full disk would.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4, 4};
    setrlimit(RLIMIT_FSIZE, &limit);
    const Status written = SystemFiles().ReplaceContents(dir / "FAK_DANE.DAT", "##2147483647");
    _exit(written.kind() == FailureKind::WriteFailed ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(Read(dir / "FAK_DANE.DAT"), "the job");
  EXPECT_EQ(EntryCount(dir.path()), 1u);
}

}  // namespace
}  // namespace platform
