#pragma once
// What Kvitra's window decides around its one run, the same for every window:
// the run starts once, at the first showing; a run that has written its
// result closes the window; any other end leaves it as the error window,
// which closes when the user confirms it. The window owns the timers and
// widgets and forwards its events here.
#include <string>

#include "platform/user_interface.h"
#include "printer/echoing_ui.h"
#include "printer/kvitra_run.h"

namespace kvitra {

class RunOnce {
 public:
  // `window` is the window's own user interface; the run reports through the
  // echo in front of it.
  RunOnce(JobRun& run, platform::UserInterface& window);

  // The window has been shown. True the first time only: the window then
  // queues StartRun, so that it is on screen (or on the task bar) before the
  // run blocks its event loop.
  bool Shown();
  // Runs the job unless it has started already. An exception that escapes the
  // run is shown in a box and leaves the error window.
  void StartRun();
  // The user confirms the error window (its OK button, Enter).
  void Confirm() { ui_.Close(); }

 private:
  void ShowException(const std::string& what);

  EchoingUi ui_;
  JobRun& run_;
  bool queued_ = false;
  // Set before the run starts: a showing or activation during the run starts no other.
  bool started_ = false;
};

}  // namespace kvitra
