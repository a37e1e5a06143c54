#include "watcher/printer_launch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/job_directory_files.h"
#include "platform/paths.h"
#include "tests/support/fake_watcher_platform.h"
#include "tests/support/native_path.h"
#include "watcher/watcher_messages.h"

namespace varden {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;
using testing_support::FakeJobFiles;
using testing_support::FakeLauncher;
using testing_support::FakeWatcherShell;
using testing_support::NativePath;
using testing_support::VirtualClock;
using Answer = platform::MessageAnswer;

const std::string kJobFile = platform::JoinPath(NativePath("/srv/my jobs"), job_directory::kJobFileName);

class PrinterLaunchTest : public ::testing::Test {
 protected:
  PrinterLaunchTest() {
    launch.SetSettings({NativePath("/srv/my jobs"), NativePath("/usr/lib/kvitra/kvitra")});
    files.Write(kJobFile, "job");
  }

  FakeLauncher::Script Exits(uint32_t afterMs, int32_t code) {
    FakeLauncher::Script script;
    script.exitAfterMs = afterMs;
    script.exitCode = code;
    return script;
  }

  VirtualClock clock;
  FakeWatcherShell shell;
  FakeJobFiles files;
  FakeLauncher launcher{clock};
  testing_support::FakeLaunchPermission permission;
  PrinterLaunch launch{launcher, files, clock, shell, permission};
};

TEST_F(PrinterLaunchTest, NoJobFileStartsNothingAndMinimises) {
  files.files.clear();
  EXPECT_TRUE(launch.AKTIV_WLASC());
  EXPECT_TRUE(launcher.records.empty());
  EXPECT_EQ(shell.minimiseCount, 1);
}

TEST_F(PrinterLaunchTest, WithoutPermissionToPrintNothingStartsAndTheJobStaysPending) {
  permission.allowed = false;
  EXPECT_FALSE(launch.AKTIV_WLASC());
  EXPECT_EQ(launch.LastOutcome(), LaunchOutcome::RefusedUnlocked);
  EXPECT_TRUE(launcher.records.empty());
  EXPECT_TRUE(shell.messages.empty());
  EXPECT_EQ(shell.minimiseCount, 0);
}

TEST_F(PrinterLaunchTest, StartsTheProgramInTheJobDirectoryMinimisedWithoutArguments) {
  launcher.scripts.push_back(Exits(3000, 0));
  EXPECT_TRUE(launch.AKTIV_WLASC());
  ASSERT_EQ(launcher.records.size(), 1u);
  const platform::LaunchRequest& request = launcher.records[0].request;
  EXPECT_EQ(request.program, NativePath("/usr/lib/kvitra/kvitra"));
  EXPECT_EQ(request.workingDirectory, NativePath("/srv/my jobs/"));
  EXPECT_THAT(request.extraEnvironment, ElementsAre(Pair("KVITRA_START_MINIMISED", "1")));
  EXPECT_FALSE(launcher.records[0].closeRequestedAtMs);
  EXPECT_EQ(shell.minimiseCount, 1);
  EXPECT_TRUE(shell.messages.empty());
  EXPECT_GE(clock.SleptMs(), 3000u);
  EXPECT_LT(clock.SleptMs(), 3100u);
}

TEST_F(PrinterLaunchTest, OverrunIsAskedToCloseAt20SecondsAndCountsAsGood) {
  FakeLauncher::Script script;
  script.exitAfterMs.reset();
  script.closeExitsAfterMs = 500;
  launcher.scripts.push_back(script);
  EXPECT_TRUE(launch.AKTIV_WLASC());
  EXPECT_EQ(launcher.records[0].closeRequestedAtMs, 20000u);
  EXPECT_FALSE(launcher.records[0].killedAtMs);
  EXPECT_EQ(shell.minimiseCount, 1);
}

TEST_F(PrinterLaunchTest, ChildIgnoringTheCloseRequestIsKilledAt30SecondsAndCountsAsGood) {
  FakeLauncher::Script script;
  script.exitAfterMs.reset();
  launcher.scripts.push_back(script);
  EXPECT_TRUE(launch.AKTIV_WLASC());
  EXPECT_EQ(launcher.records[0].closeRequestedAtMs, 20000u);
  EXPECT_EQ(launcher.records[0].killedAtMs, 30000u);
  EXPECT_TRUE(shell.messages.empty());
}

TEST_F(PrinterLaunchTest, NonZeroExitCodeShowsTheSelfClosingBoxInSignedDecimal) {
  launcher.scripts.push_back(Exits(100, static_cast<int32_t>(0xC0000005u)));
  EXPECT_FALSE(launch.AKTIV_WLASC());
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages[0].text, messages::kExitCodeText + "-1073741819");
  EXPECT_EQ(shell.messages[0].caption, messages::kExitCodeCaption);
  EXPECT_EQ(shell.messages[0].buttons, platform::MessageButtons::RetryCancel);
  EXPECT_EQ(shell.messages[0].icon, platform::MessageIcon::Stop);
  EXPECT_EQ(shell.messages[0].timeoutMs, 15000u);
  EXPECT_EQ(shell.minimiseCount, 0);
}

TEST_F(PrinterLaunchTest, OnlyCancelClosesVarden) {
  struct Case {
    bool startFails;
    Answer answer;
    int closes;
  };
  for (const Case& c : {Case{false, Answer::Retry, 0}, Case{false, Answer::TimedOut, 0},
                        Case{false, Answer::Cancel, 1}, Case{true, Answer::Retry, 0},
                        Case{true, Answer::Cancel, 1}}) {
    SCOPED_TRACE(testing::Message() << "start fails " << c.startFails << ", answer " << int(c.answer));
    FakeWatcherShell caseShell;
    PrinterLaunch caseLaunch{launcher, files, clock, caseShell, permission};
    caseLaunch.SetSettings({NativePath("/srv/my jobs"), NativePath("/k")});
    FakeLauncher::Script script = Exits(10, 7);
    if (c.startFails) script.startError = "No such file or directory";
    launcher.scripts.push_back(script);
    caseShell.answers.push_back(c.answer);
    EXPECT_FALSE(caseLaunch.AKTIV_WLASC());
    EXPECT_EQ(caseShell.closeCount, c.closes);
    EXPECT_EQ(caseShell.minimiseCount, 0);
  }
}

TEST_F(PrinterLaunchTest, StartFailureShowsTheSystemTextWithoutTrailingFullStop) {
  FakeLauncher::Script script;
  script.startError = "Permission denied. \n";
  launcher.scripts.push_back(script);
  EXPECT_FALSE(launch.AKTIV_WLASC());
  ASSERT_EQ(shell.messages.size(), 1u);
  EXPECT_EQ(shell.messages[0].text, "Permission denied");
  EXPECT_EQ(shell.messages[0].caption, messages::kStartFailedCaption);
  EXPECT_EQ(shell.messages[0].buttons, platform::MessageButtons::RetryCancel);
  EXPECT_EQ(shell.messages[0].timeoutMs, 0u);
}

}  // namespace
}  // namespace varden
