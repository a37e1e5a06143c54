// The non-blocking range lock on a shared lock file.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/range_lock.h"
#include "tests/platform/contract_host.h"

namespace platform {
namespace {

using contract::OtherPartyIsRefusedLock;
using contract::ScratchDir;

TEST(RangeLockContract, LockExcludesOtherPartiesUntilReleasedOrClosed) {
  ScratchDir dir;
  contract::WriteFile(dir / "looku.dat", "");
  RangeLocks& locks = SystemRangeLocks();
  auto first = locks.Open(dir / "looku.dat").ValueOr(nullptr);
  auto second = locks.Open(dir / "looku.dat").ValueOr(nullptr);  // both opens succeed: the file is shared
  ASSERT_TRUE(first && second);
  ASSERT_TRUE(first->TryLock(0, 4));
  EXPECT_FALSE(second->TryLock(0, 4));
  EXPECT_FALSE(second->TryLock(3, 1));
  EXPECT_TRUE(second->TryLock(4, 1)) << "bytes past the range stay free";
  EXPECT_TRUE(OtherPartyIsRefusedLock(dir / "looku.dat", 0, 4));

  ASSERT_TRUE(first->Unlock(0, 4).ok());
  ASSERT_TRUE(second->Unlock(4, 1).ok());
  EXPECT_FALSE(OtherPartyIsRefusedLock(dir / "looku.dat", 0, 4));
  EXPECT_TRUE(second->TryLock(0, 4));
  second.reset();  // closing drops the lock
  EXPECT_TRUE(first->TryLock(0, 4));
}

TEST(RangeLockContract, LockFileIsNeverCreatedAndFoundWithoutLetterCase) {
  ScratchDir dir;
  RangeLocks& locks = SystemRangeLocks();
  EXPECT_FALSE(locks.FileExists(dir / "looku.dat"));
  EXPECT_EQ(locks.Open(dir / "looku.dat").status().systemCode(), 2) << "not found, never created";
  EXPECT_EQ(contract::EntryCount(dir.path()), 0u);
  ASSERT_TRUE(SystemFiles().MakeDirectory(dir / "looku.dat").ok());
  EXPECT_FALSE(locks.FileExists(dir / "looku.dat"));
  EXPECT_FALSE(locks.Open(dir / "looku.dat").ok());

  ScratchDir other;
  contract::WriteFile(other / "LOOKU.DAT", "");
  EXPECT_TRUE(locks.FileExists(other / "looku.dat"));
  EXPECT_TRUE(locks.Open(other / "looku.dat").ok());
}

}  // namespace
}  // namespace platform
