// Ctrl+C, Ctrl+Break and the closing of the console window (or the session's
// end) ask the simulator to stop, like SIGINT and SIGTERM on Linux.
#include <windows.h>

#include <atomic>

#include "tools/thermal-sim/stop_signal.h"
#include "tools/thermal-sim/win32/stop_event.h"

namespace thermal_sim {
namespace {

std::atomic<bool> stopRequested{false};

HANDLE CreateStopEvent() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }

// Runs on a thread of its own. After a close, logoff or shutdown event the
// system ends the process as soon as the handler returns, so the handler
// stays until main has written its STOP line and ended the process (the
// system ends it anyway after its own grace time).
BOOL WINAPI OnConsoleControl(DWORD type) {
  RequestStop();
  if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT) Sleep(INFINITE);
  return TRUE;
}

}  // namespace

HANDLE StopEvent() {
  static const HANDLE event = CreateStopEvent();
  return event;
}

void RequestStop() {
  stopRequested = true;
  SetEvent(StopEvent());
}

void InstallStopHandlers() {
  StopEvent();
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool StopRequested() { return stopRequested; }

bool WaitUnlessStopped(uint32_t milliseconds) {
  if (StopRequested()) return false;
  WaitForSingleObject(StopEvent(), milliseconds);
  return !StopRequested();
}

}  // namespace thermal_sim
