#include "watcher/exclusive_lock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "common/job_directory_files.h"
#include "platform/paths.h"
#include "tests/support/fake_watcher_platform.h"
#include "tests/support/native_path.h"
#include "watcher/watcher_messages.h"

namespace varden {
namespace {

using ::testing::ElementsAre;
using testing_support::FakeRangeLocks;
using testing_support::FakeWatcherShell;
using testing_support::NativePath;
using testing_support::VirtualClock;

class ExclusiveLockTest : public ::testing::Test {
 protected:
  ExclusiveLockTest() { lock.SetLockFile(platform::JoinPath(NativePath("/jobs"), job_directory::kLockFileName)); }

  VirtualClock clock;
  FakeWatcherShell shell;
  FakeRangeLocks locks;
  ExclusiveLock lock{locks, clock, shell};
};

TEST_F(ExclusiveLockTest, WithoutLockFileEverythingSucceedsUntouched) {
  locks.exists = false;
  EXPECT_TRUE(lock.AcquireLock());
  EXPECT_TRUE(lock.ReleaseLock());
  lock.PAM_KONIEC_PROG();
  EXPECT_EQ(locks.opens, 0);
  EXPECT_TRUE(shell.messages.empty());
  EXPECT_EQ(locks.checkedPaths.front(), platform::JoinPath(NativePath("/jobs"), job_directory::kLockFileName));
}

TEST_F(ExclusiveLockTest, FreeLockIsTakenWithOneOpenAndOneAttemptOnTheFirstFourBytes) {
  EXPECT_TRUE(lock.AcquireLock());
  EXPECT_TRUE(locks.heldByUs);
  EXPECT_EQ(locks.opens, 1);
  EXPECT_EQ(locks.lockAttempts, 1);
  EXPECT_EQ(locks.lastRange, (std::pair<uint64_t, uint64_t>{0, 4}));
  EXPECT_EQ(clock.SleptMs(), 0u);
}

TEST_F(ExclusiveLockTest, SecondAcquireChangesNothingAndOneReleaseFrees) {
  ASSERT_TRUE(lock.AcquireLock());
  EXPECT_TRUE(lock.AcquireLock());
  EXPECT_EQ(locks.opens, 1);
  EXPECT_TRUE(lock.ReleaseLock());
  EXPECT_FALSE(locks.heldByUs);
  EXPECT_EQ(locks.openHandles, 0);
  EXPECT_TRUE(lock.ReleaseLock());
  EXPECT_EQ(locks.unlocks, 1);
}

TEST_F(ExclusiveLockTest, OpenFailing61TimesBeepsAndShows101) {
  locks.openFailures = 1000;
  EXPECT_FALSE(lock.AcquireLock());
  EXPECT_EQ(locks.opens, 61);
  EXPECT_EQ(clock.SleptMs(), 60u * 50);
  EXPECT_THAT(shell.events, ElementsAre("beep", "message"));
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages[0].text, messages::kLockOpenFailed);
  EXPECT_EQ(shell.messages[0].caption, "BLOKOWANIE");
  EXPECT_EQ(shell.messages[0].icon, platform::MessageIcon::Stop);
  EXPECT_EQ(shell.messages[0].buttons, platform::MessageButtons::Ok);
  EXPECT_FALSE(lock.MayPrint());
}

TEST_F(ExclusiveLockTest, OpenSucceedingOnTheLastTryTakesTheLock) {
  locks.openFailures = 60;
  EXPECT_TRUE(lock.AcquireLock());
  EXPECT_EQ(locks.opens, 61);
  EXPECT_TRUE(shell.messages.empty());
}

TEST_F(ExclusiveLockTest, RangeHeldElsewhereFor50AttemptsShows102AndClosesTheFile) {
  locks.lockRefusals = 50;
  EXPECT_FALSE(lock.AcquireLock());
  EXPECT_EQ(locks.lockAttempts, 50);
  EXPECT_EQ(clock.SleptMs(), 50u * 20);
  EXPECT_GE(shell.processEventsCount, 50);
  EXPECT_EQ(locks.openHandles, 0);
  EXPECT_FALSE(lock.MayPrint());
  EXPECT_THAT(shell.MessageTexts(), ElementsAre(messages::kLockRangeFailed));
  EXPECT_EQ(shell.beepCount, 0);
}

TEST_F(ExclusiveLockTest, OtherPartyReleasingDuringTheRetriesGivesTheLockSilently) {
  locks.lockRefusals = 49;
  EXPECT_TRUE(lock.AcquireLock());
  EXPECT_TRUE(locks.heldByUs);
  EXPECT_TRUE(shell.messages.empty());
}

// The retries let the window's events run. Nothing that runs in them, and no
// error that ends them, may find the lock held before its range is locked.
TEST_F(ExclusiveLockTest, NestedRequestWhileTheRangeIsTriedIsRefused) {
  locks.lockRefusals = 1000;  // another party holds it throughout
  std::vector<bool> nestedAnswers;
  shell.duringEvents = [&] {
    if (nestedAnswers.size() < 3) nestedAnswers.push_back(lock.AcquireLock());
  };
  EXPECT_FALSE(lock.AcquireLock());
  EXPECT_THAT(nestedAnswers, ElementsAre(false, false, false));
  EXPECT_FALSE(locks.heldByUs);
  EXPECT_EQ(locks.openHandles, 0);
}

TEST_F(ExclusiveLockTest, ErrorDuringTheRetriesLeavesNothingHeldAndTheNextRequestTriesAgain) {
  locks.lockRefusals = 1000;
  shell.duringEvents = [&] {
    if (locks.lockAttempts == 3) throw std::runtime_error("a nested handler failed");
  };
  EXPECT_THROW(lock.AcquireLock(), std::runtime_error);
  EXPECT_FALSE(lock.MayPrint());
  EXPECT_EQ(locks.openHandles, 0);

  shell.duringEvents = nullptr;
  EXPECT_FALSE(lock.AcquireLock()) << "told held while another party holds the range";
  EXPECT_THAT(shell.MessageTexts(), ElementsAre(messages::kLockRangeFailed));
  locks.lockRefusals = 0;
  EXPECT_TRUE(lock.AcquireLock());
  EXPECT_TRUE(locks.heldByUs);
}

TEST_F(ExclusiveLockTest, PrintingIsAllowedOnlyWhileHeldOrWithoutALockFile) {
  EXPECT_FALSE(lock.MayPrint());
  ASSERT_TRUE(lock.AcquireLock());
  EXPECT_TRUE(lock.MayPrint());
  ASSERT_TRUE(lock.ReleaseLock());
  EXPECT_FALSE(lock.MayPrint());
  locks.exists = false;
  EXPECT_TRUE(lock.MayPrint());
}

TEST_F(ExclusiveLockTest, FailedUnlockReportsFalseButClosesTheFile) {
  ASSERT_TRUE(lock.AcquireLock());
  locks.unlockFails = true;
  EXPECT_FALSE(lock.ReleaseLock());
  EXPECT_EQ(locks.openHandles, 0);
  EXPECT_FALSE(lock.MayPrint());
}

TEST_F(ExclusiveLockTest, HeldLockIsReleasedEvenWhenItsFileVanished) {
  ASSERT_TRUE(lock.AcquireLock());
  locks.exists = false;
  EXPECT_TRUE(lock.ReleaseLock());
  EXPECT_EQ(locks.openHandles, 0);
  // A lock file created anew is locked for real, not assumed held.
  locks.exists = true;
  EXPECT_TRUE(lock.AcquireLock());
  EXPECT_EQ(locks.opens, 2);
}

TEST_F(ExclusiveLockTest, ShutdownWithTheLockFreeTakesAndReleasesItSilently) {
  lock.PAM_KONIEC_PROG();
  EXPECT_EQ(locks.lockAttempts, 1);
  EXPECT_EQ(locks.unlocks, 1);
  EXPECT_FALSE(locks.heldByUs);
  EXPECT_TRUE(shell.messages.empty());
}

TEST_F(ExclusiveLockTest, ShutdownWhileHeldElsewhereShows102Then55) {
  locks.lockRefusals = 1000;
  lock.PAM_KONIEC_PROG();
  EXPECT_THAT(shell.MessageTexts(), ElementsAre(messages::kLockRangeFailed, messages::kShutdownLockFailed));
  EXPECT_EQ(locks.unlocks, 0);
}

TEST_F(ExclusiveLockTest, ShutdownWithFailingUnlockShows54) {
  ASSERT_TRUE(lock.AcquireLock());
  locks.unlockFails = true;
  lock.PAM_KONIEC_PROG();
  EXPECT_THAT(shell.MessageTexts(), ElementsAre(messages::kShutdownReleaseFailed));
}

}  // namespace
}  // namespace varden
