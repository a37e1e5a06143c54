#pragma once
// A stop request: on Linux SIGTERM or SIGINT, on Windows Ctrl+C, Ctrl+Break
// or closing the console window. Each system's handler wakes every wait of
// the simulator's transport, so no wait can miss the request.
#include <cstdint>

namespace thermal_sim {

void InstallStopHandlers();
bool StopRequested();

// Waits `milliseconds`, or less when a stop is requested. Returns false then.
bool WaitUnlessStopped(uint32_t milliseconds);

}  // namespace thermal_sim
