#pragma once
// The message loop of a window program, which also waits on the program's
// events (termination requests, change notifications).
#include <windows.h>

#include <functional>
#include <vector>

#include "platform/waitable_event.h"

namespace win32_shell {

// Runs until WM_QUIT. Keyboard input of `dialogWindow` goes through the dialog
// manager, so that Enter presses its default button and Tab moves the focus.
// Each event's `onReady` runs from the loop each time the event is
// signalled, after the event is acknowledged; an entry without an event is
// left out.
struct EventHandler {
  platform::WaitableEvent* event;
  std::function<void()> onReady;
};
void RunMessageLoop(HWND dialogWindow, const std::vector<EventHandler>& handlers);

// Handles the messages that are waiting now, for a handler that must keep the
// window alive while it works. A WM_QUIT among them is left for the loop.
void ProcessPendingMessages(HWND dialogWindow);

}  // namespace win32_shell
