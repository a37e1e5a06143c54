// A manual-reset event that a console control handler sets: Ctrl+C, Ctrl+Break
// and the console's close. A window's close is its own WM_CLOSE and does not
// come this way.
#include "platform/termination_requests.h"

#include <windows.h>

namespace platform {
namespace {

HANDLE requestEvent = nullptr;

BOOL WINAPI OnConsoleControl(DWORD type) {
  switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      ::SetEvent(requestEvent);
      return TRUE;
    case CTRL_CLOSE_EVENT:
      // The system ends the process as soon as this handler returns: hold it
      // (on its own thread) for the system's grace time, so that the event
      // loop ends the program through its normal shutdown first.
      ::SetEvent(requestEvent);
      ::Sleep(INFINITE);
      return TRUE;
    default:
      return FALSE;
  }
}

bool Install() {
  requestEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return requestEvent != nullptr && ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

class ConsoleControlEvent : public WaitableEvent {
 public:
  std::intptr_t NativeHandle() const override { return reinterpret_cast<std::intptr_t>(requestEvent); }
  void Acknowledge() override { ::ResetEvent(requestEvent); }
};

}  // namespace

WaitableEvent* TerminationRequests() {
  static const bool installed = Install();
  static ConsoleControlEvent requests;
  return installed ? &requests : nullptr;
}

}  // namespace platform
