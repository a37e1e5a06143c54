#pragma once
// The lines the simulator offers: a TCP listener that serves connections one
// after another (every system), and a pseudo-terminal behind a symbolic link
// (Linux).
#include <cstdio>
#include <string>

#include "tools/thermal-sim/options.h"
#include "tools/thermal-sim/simulator.h"

namespace thermal_sim {

// Serves the transport `options` name: announces its address as the first
// line of `announce` ("listening ..."), then serves until a stop is
// requested. Returns the process exit code: 0 after a stop, 1 when the line
// could not be set up (`error` says why).
int Serve(const Options& options, Simulator& simulator, FILE* announce, std::string& error);

}  // namespace thermal_sim
