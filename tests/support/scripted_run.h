#pragma once
// A stand-in for the whole run of Kvitra, for the tests of what surrounds it
// (the run-once rules, the windows): it counts its runs, shows its messages
// through the run's user interface, and ends as the test says, or throws.
#include <functional>
#include <string>
#include <vector>

#include "printer/kvitra_run.h"

namespace testing_support {

class ScriptedRun : public kvitra::JobRun {
 public:
  ScriptedRun() = default;
  ScriptedRun(std::vector<std::string> shown, kvitra::RunOutcome end) : messages(std::move(shown)), outcome(end) {}

  kvitra::RunOutcome Run(platform::UserInterface& ui) override {
    ++runs;
    for (const std::string& message : messages) ui.ShowError(message);
    if (during) during();
    return outcome;
  }

  std::vector<std::string> messages;
  kvitra::RunOutcome outcome = kvitra::RunOutcome::ErrorWindow;
  std::function<void()> during;  // runs inside the run, after the messages
  int runs = 0;
};

}  // namespace testing_support
