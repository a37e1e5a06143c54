#pragma once
// Serves one connection or pseudo-terminal session: reads the line, feeds the
// simulator and writes its answers, until the client goes, a fault drops the
// line, or a stop is requested.
#include <cstdint>

#include "tools/thermal-sim/options.h"
#include "tools/thermal-sim/simulator.h"

namespace thermal_sim {

enum class SessionEnd { kClientGone, kDropped, kStopped };

SessionEnd ServeSession(int fd, Simulator& simulator, uint32_t idleMs);

// Begins a session with the faults of the faults file when there is one, else
// with those of the command line.
void StartSession(Simulator& simulator, const Options& options, const std::string& description);

// Writes all bytes; false when the line fails.
bool WriteAll(int fd, const std::string& bytes);

}  // namespace thermal_sim
