#pragma once
// The console's Ctrl+C, Ctrl+Break and close set one manual-reset event that
// every wait of the simulator waits on beside its socket.
#include <windows.h>

namespace thermal_sim {

HANDLE StopEvent();  // signalled once a stop was requested
void RequestStop();  // what the console's handler does

}  // namespace thermal_sim
