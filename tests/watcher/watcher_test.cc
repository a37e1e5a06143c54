#include "watcher/watcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "common/job_directory_files.h"
#include "platform/paths.h"
#include "tests/support/fake_watcher_platform.h"
#include "tests/support/native_path.h"
#include "watcher/job_text.h"
#include "watcher/watcher_messages.h"

namespace varden {
namespace {

using ::testing::ElementsAre;
using platform::FileChangeKind;
using testing_support::FakeDirectoryWatches;
using testing_support::FakeJobFiles;
using testing_support::FakeLauncher;
using testing_support::FakeRangeLocks;
using testing_support::FakeWatcherShell;
using testing_support::NativePath;
using testing_support::VirtualClock;

const std::string kDefaultDir = NativePath("/opt/zembrano");
const PrinterProgramFor kProgram = [](const std::string&) { return NativePath("/usr/bin/kvitra"); };
const std::string kJobFile = platform::JoinPath(NativePath("/opt/zembrano"), job_directory::kJobFileName);
// Four lines, 40 bytes.
const std::string kJob = "1\r\nPOZYCJA;CHLEB;1;2.50\r\nSUMA;2.50\r\nEND\r\n";

class WatcherTest : public ::testing::Test {
 protected:
  WatcherTest() {
    locks.exists = false;
    watcher.KREACJA({});
  }

  // Ticks of Timer1 100 ms apart.
  void Tick(int count = 1) {
    for (int i = 0; i < count; ++i) {
      watcher.Timer1Timer();
      clock.Advance(100);
    }
  }
  // The host writes a job and Varden sees it settle.
  void DropJob(const std::string& text, uint32_t age = 0x53291234) {
    files.Write(kJobFile, text, age);
    Tick(2);
  }
  // The detection tick works again: it shows the time and looks for a job.
  void ExpectTicksRun() {
    const size_t titles = shell.titles.size();
    watcher.Timer1Timer();
    EXPECT_EQ(shell.titles.size(), titles + 1) << "the tick did nothing";
  }
  FakeLauncher::Script ResultLine() {
    FakeLauncher::Script script;
    script.onStart = [this] { files.Write(kJobFile, "##1"); };
    return script;
  }

  VirtualClock clock;
  FakeWatcherShell shell;
  FakeRangeLocks locks;
  FakeJobFiles files;
  FakeLauncher launcher{clock};
  // Watches that report nothing unless a test reports changes: the tick's
  // rules alone, as on a file system that sends no notifications.
  FakeDirectoryWatches watches;
  Watcher watcher{{clock, locks, launcher, files, kDefaultDir, kProgram, &watches}, shell};
};

TEST_F(WatcherTest, JobRunsOnceUnderTheLockAndItsResultLineIsNoJob) {
  locks.exists = true;
  launcher.scripts.push_back(ResultLine());
  DropJob(kJob);
  ASSERT_EQ(launcher.records.size(), 1u);
  EXPECT_EQ(launcher.records[0].request.workingDirectory, NativePath("/opt/zembrano/"));
  EXPECT_FALSE(locks.heldByUs);
  EXPECT_EQ(locks.unlocks, 1);
  EXPECT_THAT(shell.titles, ElementsAre("10:11:28", "10:11:28", messages::kTitleSending, messages::kTitleListening));
  ExpectTicksRun();
  EXPECT_EQ(shell.log.size(), 1u);
  Tick(5);
  EXPECT_EQ(launcher.records.size(), 1u);
}

struct OutcomeCase {
  const char* name;
  bool lockRefused;
  bool startFails;
  int32_t exitCode;
  bool jobVanishes;
  bool remembered;
};

class WatcherOutcomeTest : public WatcherTest, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(WatcherOutcomeTest, OnlyADoneJobIsRemembered) {
  const OutcomeCase& c = GetParam();
  locks.exists = true;
  if (c.lockRefused) locks.lockRefusals = 50;
  if (c.jobVanishes) locks.onOpen = [this] { files.files.erase(kJobFile); };
  FakeLauncher::Script script;
  if (c.startFails) script.startError = "No such file or directory";
  script.exitCode = c.exitCode;
  launcher.scripts.push_back(script);

  DropJob(kJob);
  EXPECT_FALSE(locks.heldByUs);
  EXPECT_EQ(launcher.records.size(), c.lockRefused || c.jobVanishes ? 0u : 1u);

  // The file as it was: run again on the next tick unless remembered.
  locks.onOpen = nullptr;
  if (c.jobVanishes) files.files[kJobFile] = {kJob, files.version, 0x53291234};
  const size_t startsBefore = launcher.records.size();
  Tick();
  EXPECT_EQ(launcher.records.size() - startsBefore, c.remembered ? 0u : 1u);
  ExpectTicksRun();
}

INSTANTIATE_TEST_SUITE_P(Outcomes, WatcherOutcomeTest,
                         ::testing::Values(OutcomeCase{"LockRefused", true, false, 0, false, false},
                                           OutcomeCase{"StartFailed", false, true, 0, false, false},
                                           OutcomeCase{"NonZeroExit", false, false, 3, false, false},
                                           OutcomeCase{"ExitZero", false, false, 0, false, true},
                                           OutcomeCase{"JobVanished", false, false, 0, true, true}),
                         [](const ::testing::TestParamInfo<OutcomeCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(WatcherTest, SizeThresholdIs32Bytes) {
  const std::string fourLines31 = "a\nb\nc\n" + std::string(25, 'x');
  ASSERT_EQ(fourLines31.size(), 31u);
  DropJob(fourLines31);
  EXPECT_EQ(files.reads, 0);
  EXPECT_TRUE(launcher.records.empty());
  DropJob(fourLines31 + "x");
  EXPECT_EQ(launcher.records.size(), 1u);
}

TEST_F(WatcherTest, ThreeLinesAreNoJobHoweverLong) {
  DropJob("HEADER\n" + std::string(200, 'x') + "\nlast\n");
  EXPECT_TRUE(launcher.records.empty());
  DropJob("HEADER\n" + std::string(200, 'x') + "\nlast\nfourth");
  EXPECT_EQ(launcher.records.size(), 1u);
}

TEST_F(WatcherTest, FileStillChangingIsNotTaken) {
  std::string text = "1\r\nPOZYCJA;A;1;1.00\r\n";
  files.Write(kJobFile, text);
  for (const char* piece : {"POZYCJA;B;1;1.00\r\n", "SUMA;2.00\r\n", "END\r\n"}) {
    Tick();
    text += piece;
    files.Write(kJobFile, text);
  }
  Tick();
  EXPECT_TRUE(launcher.records.empty());
  Tick();
  EXPECT_EQ(launcher.records.size(), 1u);
}

TEST_F(WatcherTest, SignatureIsTheSumOfFourLinesAndTheTwoSecondAge) {
  DropJob(kJob, 100);
  ASSERT_EQ(launcher.records.size(), 1u);
  // Differs only after the fourth line, same two-second step: the same job.
  DropJob(kJob + "EXTRA LINE\r\n", 100);
  EXPECT_EQ(launcher.records.size(), 1u);
  // The same text written again later.
  DropJob(kJob, 101);
  EXPECT_EQ(launcher.records.size(), 2u);
  // Another text with the same sum and the same age is taken for the same job...
  std::string sameSum = kJob;
  std::swap(sameSum[5], sameSum[6]);
  DropJob(sameSum, 101);
  EXPECT_EQ(launcher.records.size(), 2u);
  // ...and told apart by its age alone.
  DropJob(sameSum, 102);
  EXPECT_EQ(launcher.records.size(), 3u);
}

TEST_F(WatcherTest, HighBytesLowerTheSum) {
  DropJob("\xB9\n" + std::string(30, 'a') + "\nb\nc\n");
  ASSERT_EQ(shell.log.size(), 1u);
  EXPECT_THAT(shell.log[0], ::testing::HasSubstr("(sum " + std::to_string(-71 + 30 * 'a' + 'b' + 'c') + ","));
}

TEST_F(WatcherTest, FourLinesBeyondTheReadLimitAreNoJob) {
  DropJob(std::string(kJobTextReadLimit + 10, 'x') + "\nb\nc\nd\n");
  EXPECT_TRUE(launcher.records.empty());
  // A large job whose first lines fit is taken.
  DropJob(kJob + std::string(kJobTextReadLimit, 'x'));
  EXPECT_EQ(launcher.records.size(), 1u);
}

TEST_F(WatcherTest, UnreadableFileIsRetriedQuietly) {
  files.readFails = true;
  DropJob(kJob);
  Tick(3);
  EXPECT_TRUE(launcher.records.empty());
  EXPECT_TRUE(shell.messages.empty());
  files.readFails = false;
  Tick();
  EXPECT_EQ(launcher.records.size(), 1u);
}

TEST_F(WatcherTest, NonZeroExitRunsTheSameJobAgainAfterTheBox) {
  FakeLauncher::Script failing;
  failing.exitCode = 1;
  launcher.scripts.push_back(failing);
  shell.answers.push_back(platform::MessageAnswer::TimedOut);
  DropJob(kJob);
  Tick();
  EXPECT_EQ(launcher.records.size(), 2u);
}

TEST_F(WatcherTest, LockHeldElsewhereShowsItsMessageEveryTickUntilFree) {
  locks.exists = true;
  locks.lockRefusals = 100;  // two ticks' worth of attempts
  DropJob(kJob);
  Tick();
  EXPECT_TRUE(launcher.records.empty());
  EXPECT_THAT(shell.MessageTexts(), ElementsAre(messages::kLockRangeFailed, messages::kLockRangeFailed));
  Tick();
  EXPECT_EQ(launcher.records.size(), 1u);
}

// What a real window runs inside the lock's retries and inside the modal box
// while another party holds the lock for three ticks' worth of attempts: the
// job starts once, after the other party let go, and only under the lock.
struct NestedCase {
  const char* name;
  bool duringRetries;  // else while the box is up
  bool failing;        // a nested handler's error ends the retries once
};

class WatcherNestedLoopTest : public WatcherTest, public ::testing::WithParamInterface<NestedCase> {};

TEST_P(WatcherNestedLoopTest, NoJobStartsWithoutTheLockWhateverRunsInside) {
  const NestedCase& c = GetParam();
  locks.exists = true;
  locks.lockRefusals = 150;
  int unlockedStarts = 0;
  FakeLauncher::Script script = ResultLine();
  script.onStart = [this, &unlockedStarts, write = script.onStart] {
    if (!locks.heldByUs) ++unlockedStarts;
    write();
  };
  launcher.scripts.push_back(script);
  bool failed = false;
  const auto nested = [&] {
    if (c.failing && !failed && locks.lockAttempts > 10) {
      failed = true;
      throw std::runtime_error("a nested handler failed");
    }
    watcher.Timer1Timer();
    watches.Report("FAK_DANE.DAT", FileChangeKind::Finished);
    watcher.OnDirectoryChanges();
    watcher.Timer2Timer();
  };
  (c.duringRetries ? shell.duringEvents : shell.duringMessage) = nested;

  DropJob(kJob);
  Tick(6);
  EXPECT_EQ(unlockedStarts, 0);
  EXPECT_EQ(launcher.records.size(), 1u);
  EXPECT_GE(shell.MessageTexts().size(), 2u);
  EXPECT_FALSE(locks.heldByUs);
  ExpectTicksRun();
}

INSTANTIATE_TEST_SUITE_P(Deliveries, WatcherNestedLoopTest,
                         ::testing::Values(NestedCase{"TicksAndChangesDuringTheRetries", true, false},
                                           NestedCase{"TicksAndChangesWhileTheBoxIsUp", false, false},
                                           NestedCase{"HandlerErrorDuringTheRetries", true, true}),
                         [](const ::testing::TestParamInfo<NestedCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(WatcherTest, FailedReleaseShowsItInTheTitle) {
  locks.exists = true;
  locks.unlockFails = true;
  DropJob(kJob);
  EXPECT_EQ(shell.titles.back(), messages::kTitleReleaseFailed);
}

TEST_F(WatcherTest, NoTickRunsWhileAJobIsHandledOrAfterClosing) {
  FakeLauncher::Script script;
  script.onStart = [this] {
    const size_t titles = shell.titles.size();
    watcher.Timer1Timer();  // a tick from a nested event loop
    watcher.Timer2Timer();
    EXPECT_EQ(shell.titles.size(), titles);
  };
  launcher.scripts.push_back(script);
  DropJob(kJob);
  EXPECT_EQ(launcher.records.size(), 1u);
  EXPECT_EQ(shell.hidePanelCount, 0);

  watcher.OnClosing();
  DropJob(kJob, 7);
  EXPECT_EQ(launcher.records.size(), 1u);
}

TEST_F(WatcherTest, TitlePanelThenLabelThenMinimised) {
  watcher.Timer2Timer();
  EXPECT_THAT(shell.events, ElementsAre("hide panel"));
  watcher.Timer2Timer();
  EXPECT_EQ(shell.minimiseCount, 1);
  EXPECT_FALSE(watcher.Timer2Enabled());
  watcher.Timer2Timer();
  EXPECT_THAT(shell.events, ElementsAre("hide panel", "minimise"));
}

TEST_F(WatcherTest, Timer2TickDuringAJobIsSkipped) {
  FakeLauncher::Script script;
  script.onStart = [this] { watcher.Timer2Timer(); };
  launcher.scripts.push_back(script);
  DropJob(kJob);  // the good run minimises
  EXPECT_EQ(shell.hidePanelCount, 0);
  watcher.Timer2Timer();
  watcher.Timer2Timer();
  EXPECT_THAT(shell.events, ElementsAre("minimise", "hide panel", "minimise"));
}

TEST(WatcherStartTest, StaleJobIsRemovedOnlyFromTheWatchedDefaultDirectory) {
  struct Case {
    std::vector<std::string> arguments;
    std::string content;
    bool removed;
  };
  for (const Case& c : {Case{{}, std::string(32, 'x'), true}, Case{{}, std::string(31, 'x'), false},
                        Case{{NativePath("/a"), NativePath("/b")}, std::string(40, 'x'), true},
                        Case{{NativePath("/srv/jobs")}, std::string(40, 'x'), false}}) {
    SCOPED_TRACE(c.arguments.size());
    VirtualClock clock;
    FakeWatcherShell shell;
    FakeRangeLocks locks;
    FakeJobFiles files;
    FakeLauncher launcher{clock};
    files.Write(kJobFile, c.content);
    files.Write(platform::JoinPath(NativePath("/srv/jobs"), job_directory::kJobFileName), kJob);
    Watcher watcher{{clock, locks, launcher, files, kDefaultDir, kProgram}, shell};
    watcher.KREACJA(c.arguments);
    EXPECT_EQ(files.FileExists(kJobFile), !c.removed);
    EXPECT_TRUE(files.FileExists(platform::JoinPath(NativePath("/srv/jobs"), job_directory::kJobFileName)));
  }
}

TEST(WatcherStartTest, JobWaitingInTheNamedDirectoryRunsAtOnce) {
  VirtualClock clock;
  FakeWatcherShell shell;
  FakeRangeLocks locks;
  FakeJobFiles files;
  FakeLauncher launcher{clock};
  locks.exists = false;
  files.Write(platform::JoinPath(NativePath("/srv/jobs"), job_directory::kJobFileName), kJob);
  // As on Windows, where the printer program is KVITRA.EXE of the job directory.
  Watcher watcher{{clock, locks, launcher, files, kDefaultDir,
                   [](const std::string& jobDir) { return jobDir + NativePath("/KVITRA.EXE"); }},
                  shell};
  watcher.KREACJA({NativePath("/srv/jobs/")});
  EXPECT_EQ(watcher.JobDir(), NativePath("/srv/jobs"));
  watcher.Timer1Timer();
  watcher.Timer1Timer();
  ASSERT_EQ(launcher.records.size(), 1u);
  EXPECT_EQ(launcher.records[0].request.workingDirectory, NativePath("/srv/jobs/"));
  EXPECT_EQ(launcher.records[0].request.program, NativePath("/srv/jobs/KVITRA.EXE"));
}

TEST(WatcherStartTest, MissingJobDirectoryIsNamedOnceAndWatchedAllTheSame) {
  VirtualClock clock;
  FakeWatcherShell shell;
  FakeRangeLocks locks;
  FakeJobFiles files;
  FakeLauncher launcher{clock};
  locks.exists = false;
  const std::string later = NativePath("/srv/later");
  files.missingDirectories = {later};
  Watcher watcher{{clock, locks, launcher, files, kDefaultDir, kProgram}, shell};
  watcher.KREACJA({later});
  ASSERT_EQ(shell.log.size(), 2u);
  EXPECT_THAT(shell.log[0], ::testing::HasSubstr(later + " does not exist"));
  EXPECT_THAT(shell.log[1], ::testing::HasSubstr("no change notifications for " + later));
  watcher.Timer1Timer();
  files.missingDirectories.clear();
  files.Write(platform::JoinPath(NativePath("/srv/later"), job_directory::kJobFileName), kJob);
  watcher.Timer1Timer();
  watcher.Timer1Timer();
  EXPECT_EQ(launcher.records.size(), 1u);
  EXPECT_EQ(shell.log.size(), 3u);  // the directory's lines, then the job's
}

// --- Change notifications -------------------------------------------------

struct ChangeCase {
  const char* name;
  const char* file;  // the name reported
  FileChangeKind kind;
  bool startsAtOnce;
};

class WatcherChangeTest : public WatcherTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(WatcherChangeTest, AJobItsWriterIsDoneWithIsTakenWithoutWaitingForATick) {
  const ChangeCase& c = GetParam();
  files.Write(kJobFile, kJob);
  watches.Report(c.file, c.kind);
  watcher.OnDirectoryChanges();
  EXPECT_EQ(launcher.records.size(), c.startsAtOnce ? 1u : 0u);
  // The same job reported again is not run again.
  watches.Report(c.file, c.kind);
  watcher.OnDirectoryChanges();
  Tick(3);
  EXPECT_EQ(launcher.records.size(), c.kind == FileChangeKind::Writing ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, WatcherChangeTest,
    ::testing::Values(ChangeCase{"ClosedAfterWriting", "FAK_DANE.DAT", FileChangeKind::Finished, true},
                      ChangeCase{"NameInOtherLetterCase", "fak_dane.dat", FileChangeKind::Finished, true},
                      ChangeCase{"ChangedWhereTheSystemSaysNoMore", "FAK_DANE.DAT", FileChangeKind::Changed, true},
                      ChangeCase{"StillBeingWritten", "FAK_DANE.DAT", FileChangeKind::Writing, false},
                      ChangeCase{"AnotherFile", "FAK_DANE.TMP", FileChangeKind::Finished, false}),
    [](const ::testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.name); });

TEST_F(WatcherTest, AJobWrittenSlowlyThroughOneOpenRunsOnceWhole) {
  std::string seenByKvitra;
  FakeLauncher::Script script;
  script.onStart = [&] { seenByKvitra = files.files[kJobFile].content; };
  launcher.scripts.push_back(script);
  // Four lines and more than 32 bytes early on, then long pauses: the tick
  // alone would take the part written so far.
  const std::string whole = kJob + "POZYCJA;MASLO;1;7.99\r\nKONIEC\r\n";
  for (size_t written : {size_t{34}, kJob.size(), whole.size() - 3}) {
    files.Write(kJobFile, whole.substr(0, written));
    watches.Report("FAK_DANE.DAT", FileChangeKind::Writing);
    watcher.OnDirectoryChanges();
    Tick(20);
  }
  EXPECT_TRUE(launcher.records.empty());
  files.Write(kJobFile, whole);
  watches.Report("FAK_DANE.DAT", FileChangeKind::Writing);
  watches.Report("FAK_DANE.DAT", FileChangeKind::Finished);
  watcher.OnDirectoryChanges();
  ASSERT_EQ(launcher.records.size(), 1u);
  EXPECT_EQ(seenByKvitra, whole);
  Tick(5);
  EXPECT_EQ(launcher.records.size(), 1u);
}

TEST_F(WatcherTest, LostChangesLeaveTheJobToTheTick) {
  files.Write(kJobFile, kJob);
  watches.Report("FAK_DANE.DAT", FileChangeKind::Writing);
  watcher.OnDirectoryChanges();
  Tick(3);
  EXPECT_TRUE(launcher.records.empty());
  // The writer's end was in the changes the system lost.
  watches.lost = true;
  watcher.OnDirectoryChanges();
  EXPECT_TRUE(launcher.records.empty());
  Tick();  // unchanged since the tick before: the tick's rule takes it
  EXPECT_EQ(launcher.records.size(), 1u);
}

TEST_F(WatcherTest, WithoutAWatchTheTickAloneFindsJobs) {
  watches.refuse = true;
  watcher.KREACJA({NativePath("/srv/kasa")});
  EXPECT_EQ(watcher.ChangeEvent(), nullptr);
  EXPECT_THAT(shell.log.back(), ::testing::HasSubstr("no change notifications"));
  files.Write(platform::JoinPath(NativePath("/srv/kasa"), job_directory::kJobFileName), kJob);
  Tick();
  EXPECT_TRUE(launcher.records.empty());
  Tick();
  EXPECT_EQ(launcher.records.size(), 1u);
}

TEST_F(WatcherTest, ChangesWhileAJobIsHandledStartNothingInside) {
  FakeLauncher::Script script;
  script.onStart = [this] {
    files.Write(kJobFile, kJob + "SECOND\r\n", 0x53291240);
    watches.Report("FAK_DANE.DAT", FileChangeKind::Finished);
    watcher.OnDirectoryChanges();  // the shell's loop runs while Kvitra runs
  };
  launcher.scripts.push_back(script);
  files.Write(kJobFile, kJob);
  watches.Report("FAK_DANE.DAT", FileChangeKind::Finished);
  watcher.OnDirectoryChanges();
  EXPECT_EQ(launcher.records.size(), 1u);
  Tick(2);  // the new job, found by the ticks after the run
  EXPECT_EQ(launcher.records.size(), 2u);
}

}  // namespace
}  // namespace varden
