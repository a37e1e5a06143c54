// LockFile range locks on a lock file in a scratch directory. The tests
// against a Linux process's lock run from range_locks_linux.sh, which sets
// the variables they need; without them they are skipped.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/range_lock.h"
#include "tests/platform/win32/scratch_dir.h"

namespace platform {
namespace {

using testing_support::ScratchDir;

TEST(LockFileRangeLocksTest, RefusalIsALockViolationAndOnlyTheHolderUnlocks) {
  ScratchDir dir;
  std::ofstream(dir / "looku.dat");
  RangeLocks& locks = SystemRangeLocks();
  auto first = locks.Open(dir / "looku.dat").ValueOr(nullptr);
  auto second = locks.Open(dir / "looku.dat").ValueOr(nullptr);
  ASSERT_TRUE(first && second);
  ASSERT_TRUE(first->TryLock(0, 4));
  EXPECT_FALSE(second->TryLock(0, 4));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_LOCK_VIOLATION));
  EXPECT_FALSE(second->Unlock(0, 4).ok()) << "only the holder can unlock";
}

TEST(LockFileRangeLocksTest, FileHeldOpenWithoutSharingCannotBeOpened) {
  ScratchDir dir;
  std::ofstream(dir / "looku.dat");
  const HANDLE holder = CreateFileA((dir / "looku.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(SystemRangeLocks().Open(dir / "looku.dat").ok());
  CloseHandle(holder);
  EXPECT_TRUE(SystemRangeLocks().Open(dir / "looku.dat").ok());
}

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// LOCKED_BY_LINUX names a file whose bytes 0 to 3 a Linux process holds.
TEST(LinuxLockTest, RangeHeldByALinuxProcessIsRefused) {
  const std::string path = Variable("LOCKED_BY_LINUX");
  if (path.empty()) GTEST_SKIP() << "run by range_locks_linux.sh";
  auto file = SystemRangeLocks().Open(path).ValueOr(nullptr);
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(file->TryLock(0, 4));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_LOCK_VIOLATION));
}

// HOLD_FOR_LINUX names a file to lock; the lock is held until the file
// HOLD_FOR_LINUX.release appears (at most 30 s), and HOLD_FOR_LINUX.ready
// tells the Linux side that it is taken.
TEST(LinuxLockTest, RangeHeldHereUntilReleased) {
  const std::string path = Variable("HOLD_FOR_LINUX");
  if (path.empty()) GTEST_SKIP() << "run by range_locks_linux.sh";
  auto file = SystemRangeLocks().Open(path).ValueOr(nullptr);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->TryLock(0, 4));
  std::ofstream(path + ".ready") << "locked\n";
  for (int i = 0; i < 3000 && !std::filesystem::exists(path + ".release"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(std::filesystem::exists(path + ".release"));
  EXPECT_TRUE(file->Unlock(0, 4).ok());
}

}  // namespace
}  // namespace platform
