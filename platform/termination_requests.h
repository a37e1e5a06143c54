#pragma once
// Requests from outside to end the program (SIGTERM and SIGINT on Linux; a
// console control event on Windows, where a window's close arrives as its own
// WM_CLOSE) turned into an event that the program's event loop waits on, so
// that the program ends through its normal shutdown instead of in the middle
// of a handler.
#include "platform/waitable_event.h"

namespace platform {

// The first call installs the handlers; from then on a request no longer ends
// the program by itself. nullptr when the handlers cannot be installed.
WaitableEvent* TerminationRequests();

}  // namespace platform
