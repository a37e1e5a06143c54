// What the Linux range locks answer beyond the contract: only "no such file"
// means there is no lock file.
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "platform/range_lock.h"
#include "tests/printer/temp_dir.h"

namespace platform {
namespace {

TEST(PosixRangeLocks, LockFileThatCannotBeLookedAtCountsAsPresentAndFailsToOpen) {
  testing_support::TempDir dir;
  const std::string looping = dir.path() + "/looku.dat";
  ASSERT_EQ(::symlink("looku.dat", looping.c_str()), 0);  // stat fails with ELOOP
  EXPECT_TRUE(SystemRangeLocks().FileExists(looping));
  EXPECT_EQ(SystemRangeLocks().Open(looping).status().systemCode(), ELOOP);

  EXPECT_FALSE(SystemRangeLocks().FileExists(dir.path() + "/gone/looku.dat"));
  testing_support::TempDir other;
  ASSERT_EQ(::symlink("nowhere", (other.path() + "/looku.dat").c_str()), 0);
  EXPECT_FALSE(SystemRangeLocks().FileExists(other.path() + "/looku.dat")) << "a link to nothing is no file";
}

}  // namespace
}  // namespace platform
