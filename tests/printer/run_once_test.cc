#include "printer/run_once.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "tests/printer/fake_platform.h"
#include "tests/support/recording_ui.h"
#include "tests/support/virtual_clock.h"

namespace kvitra {
namespace {

class RunOnceTest : public ::testing::Test {
 protected:
  RunOnceTest() { files.files["FAK_DANE.DAT"] = "\x01\r\nPARAGON\r\n"; }

  RunOnce Make(std::function<int32_t()> job) {
    return RunOnce({clock, files, env, store, serialPorts, network}, window, [this, job](JobContext& context) {
      ++runs;
      context.ShowError("job error");
      return job();
    });
  }

  int runs = 0;
  testing_support::VirtualClock clock;
  testing_support::MemoryFiles files;
  testing_support::FakeEnvironment env;
  testing_support::FakeSettingsStore store;
  testing_support::NoSerialPorts serialPorts;
  testing_support::NoNetwork network;
  testing_support::RecordingUi window;
};

TEST_F(RunOnceTest, RunsOnceAtTheFirstShowingHoweverOftenItIsShown) {
  RunOnce run = Make([] { return 0; });
  EXPECT_TRUE(run.Shown());
  EXPECT_FALSE(run.Shown());
  EXPECT_FALSE(run.Started());
  run.StartRun();
  EXPECT_FALSE(run.Shown());
  run.StartRun();
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(run.Started());
}

// Only a written result line closes the window; everything else leaves the
// error window, and an escaped exception is shown as well.
TEST_F(RunOnceTest, WhatFollowsTheRun) {
  struct Case {
    const char* name;
    std::function<int32_t()> job;
    bool resultLineWritable;
    int closes;
    std::string box;  // the exception's box, if any
  };
  const Case cases[] = {
      {"result written", [] { return 7; }, true, 1, ""},
      {"job failed", [] { return 0; }, true, 0, ""},
      {"result line not written", [] { return 7; }, false, 0, ""},
      {"exception", []() -> int32_t { throw std::runtime_error("no memory"); }, true, 0, "no memory"},
      {"unknown exception", []() -> int32_t { throw 42; }, true, 0, "Unknown exception"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.errors.clear();
    window.messages.clear();
    window.closeCount = 0;
    files.replaceResult = c.resultLineWritable ? platform::WriteResult::Ok : platform::WriteResult::WriteFailed;
    RunOnce run = Make(c.job);
    run.StartRun();
    EXPECT_EQ(window.closeCount, c.closes);
    ASSERT_FALSE(window.errors.empty());
    EXPECT_EQ(window.errors.front(), "job error");
    if (c.box.empty()) {
      EXPECT_TRUE(window.messages.empty());
    } else {
      ASSERT_EQ(window.messages.size(), 1u);
      EXPECT_EQ(window.messages[0].text, c.box);
      EXPECT_EQ(window.messages[0].caption, "Kvitra");
      EXPECT_EQ(window.messages[0].icon, platform::MessageIcon::Stop);
    }
  }
}

TEST_F(RunOnceTest, ConfirmingTheErrorWindowClosesIt) {
  RunOnce run = Make([] { return 0; });
  run.StartRun();
  run.Confirm();
  EXPECT_EQ(window.closeCount, 1);
}

}  // namespace
}  // namespace kvitra
