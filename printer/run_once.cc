#include "printer/run_once.h"

#include <exception>

namespace kvitra {

RunOnce::RunOnce(JobRun& run, platform::UserInterface& window) : ui_(window), run_(run) {}

bool RunOnce::Shown() {
  if (queued_) return false;
  queued_ = true;
  return true;
}

void RunOnce::StartRun() {
  if (started_) return;
  started_ = true;
  RunOutcome outcome = RunOutcome::ErrorWindow;
  try {
    outcome = run_.Run(ui_);
  } catch (const std::exception& error) {
    ShowException(error.what());
  } catch (...) {
    ShowException("Unknown exception");
  }
  if (outcome == RunOutcome::Close) ui_.Close();
}

void RunOnce::ShowException(const std::string& what) {
  ui_.ShowMessage(what, "Kvitra", platform::MessageButtons::Ok, platform::MessageIcon::Stop);
}

}  // namespace kvitra
