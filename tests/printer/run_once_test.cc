#include "printer/run_once.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "tests/support/recording_ui.h"
#include "tests/support/scripted_run.h"

namespace kvitra {
namespace {

using testing_support::ScriptedRun;

class RunOnceTest : public ::testing::Test {
 protected:
  ScriptedRun job{{"job error"}, RunOutcome::ErrorWindow};
  testing_support::RecordingUi window;
};

TEST_F(RunOnceTest, RunsOnceAtTheFirstShowingHoweverOftenItIsShown) {
  RunOnce run(job, window);
  EXPECT_TRUE(run.Shown());
  EXPECT_FALSE(run.Shown());
  EXPECT_EQ(job.runs, 0);
  run.StartRun();
  EXPECT_FALSE(run.Shown());
  run.StartRun();
  EXPECT_EQ(job.runs, 1);
}

// Only a run that has written its result closes the window; everything else
// leaves the error window, and an escaped exception is shown as well.
TEST_F(RunOnceTest, WhatFollowsTheRun) {
  struct Case {
    const char* name;
    RunOutcome outcome;
    std::function<void()> during;
    int closes;
    std::string box;  // the exception's box, if any
  };
  const Case cases[] = {
      {"result written", RunOutcome::Close, nullptr, 1, ""},
      {"error window", RunOutcome::ErrorWindow, nullptr, 0, ""},
      {"exception", RunOutcome::Close, [] { throw std::runtime_error("no memory"); }, 0, "no memory"},
      {"unknown exception", RunOutcome::Close, [] { throw 42; }, 0, "Unknown exception"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window = testing_support::RecordingUi();
    job.outcome = c.outcome;
    job.during = c.during;
    RunOnce run(job, window);
    run.StartRun();
    EXPECT_EQ(window.closeCount, c.closes);
    EXPECT_EQ(window.errors, std::vector<std::string>{"job error"}) << "the run reports through the window";
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
  RunOnce run(job, window);
  run.StartRun();
  run.Confirm();
  EXPECT_EQ(window.closeCount, 1);
}

}  // namespace
}  // namespace kvitra
