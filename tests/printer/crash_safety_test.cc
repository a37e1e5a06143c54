// The job file is replaced by the result line in one step: whenever the
// writing process dies, the file holds the job or the whole result line.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/files.h"
#include "tests/printer/temp_dir.h"

namespace platform {
namespace {

TEST(CrashSafety, KilledWhileReplacingLeavesOldOrWholeNew) {
  testing_support::TempDir dir;
  const std::string path = dir / "FAK_DANE.DAT";
  const std::string job(4096, 'J');
  const std::string result = "##2147483647";
  std::mt19937 random(12345);
  int sawOld = 0, sawNew = 0;
  for (int round = 0; round < 150; ++round) {
    ASSERT_EQ(SystemFiles().ReplaceContents(path, job), WriteResult::Ok);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {  // back and forth, so a kill can land anywhere in a replacement
        SystemFiles().ReplaceContents(path, result);
        SystemFiles().ReplaceContents(path, job);
      }
    }
    usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    std::string contents;
    ASSERT_EQ(SystemFiles().ReadPrefix(path, 1 << 16, contents), ReadResult::Ok);
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
