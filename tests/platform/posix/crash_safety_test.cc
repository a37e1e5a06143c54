// The job file is replaced by the result line in one step: whenever the
// writing process dies, the file holds the job or the whole result line.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>

#include "platform/files.h"
#include "tests/printer/temp_dir.h"

namespace platform {
namespace {

// How long one replacement takes on this disk (fsync dominates), so the kills
// can be spread over a replacement however slow the machine is.
std::chrono::microseconds OneReplacement(const std::string& path, const std::string& contents) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) SystemFiles().ReplaceContents(path, contents);
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start) / 5;
}

TEST(CrashSafety, KilledWhileReplacingLeavesOldOrWholeNew) {
  testing_support::TempDir dir;
  const std::string path = dir / "FAK_DANE.DAT";
  const std::string job(4096, 'J');
  const std::string result = "##2147483647";
  const auto spread = std::max<long>(2 * OneReplacement(path, job).count(), 100);
  std::mt19937 random(12345);
  int sawOld = 0, sawNew = 0;
  for (int round = 0; round < 150; ++round) {
    ASSERT_TRUE(SystemFiles().ReplaceContents(path, job).ok());
    int done[2];
    ASSERT_EQ(pipe(done), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(done[0]);
      fcntl(done[1], F_SETFL, O_NONBLOCK);
      for (;;) {  // back and forth, so a kill can land anywhere in a replacement
        SystemFiles().ReplaceContents(path, result);
        (void)!write(done[1], "r", 1);
        SystemFiles().ReplaceContents(path, job);
      }
    }
    close(done[1]);
    char first;
    ASSERT_EQ(read(done[0], &first, 1), 1);  // the child is inside its loop now
    close(done[0]);
    usleep(std::uniform_int_distribution<long>(0, spread)(random));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    const Result<std::string> read = SystemFiles().ReadPrefix(path, 1 << 16);
    ASSERT_TRUE(read.ok());
    const std::string& contents = *read;
    ASSERT_TRUE(contents == job || contents == result) << "round " << round << ": " << contents.size() << " bytes";
    (contents == job ? sawOld : sawNew)++;
    // A temporary file cut off by the kill is hidden and never the job file.
    for (auto& entry : std::filesystem::directory_iterator(dir.path()))
      if (entry.path().filename() != "FAK_DANE.DAT") std::filesystem::remove(entry.path());
  }
  // Both outcomes occur, so the kills did land inside replacements.
  EXPECT_GT(sawOld, 0);
  EXPECT_GT(sawNew, 0);
}

}  // namespace
}  // namespace platform
