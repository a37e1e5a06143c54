#pragma once
// The message loop of a window program, which also waits on the program's
// termination requests.
#include <windows.h>

#include <functional>

#include "platform/waitable_event.h"

namespace win32_shell {

// Runs until WM_QUIT. Keyboard input of `dialogWindow` goes through the dialog
// manager, so that Enter presses its default button and Tab moves the focus.
// `onTerminationRequest` runs from the loop each time `terminationRequests`
// (may be nullptr) is signalled.
void RunMessageLoop(HWND dialogWindow, platform::WaitableEvent* terminationRequests,
                    const std::function<void()>& onTerminationRequest);

// Handles the messages that are waiting now, for a handler that must keep the
// window alive while it works. A WM_QUIT among them is left for the loop.
void ProcessPendingMessages(HWND dialogWindow);

}  // namespace win32_shell
