#pragma once
// The two lines the simulator offers: a TCP listener that serves connections
// one after another, and a pseudo-terminal behind a symbolic link.
#include <cstdio>
#include <string>

#include "tools/thermal-sim/options.h"
#include "tools/thermal-sim/simulator.h"

namespace thermal_sim {

// Both announce their address as the first line of `announce` ("listening
// ..."), then serve until a stop is requested. They return the process exit
// code: 0 after a stop, 1 when the line could not be set up (`error` says why).
int ServeTcp(const Options& options, Simulator& simulator, FILE* announce, std::string& error);
int ServePty(const Options& options, Simulator& simulator, FILE* announce, std::string& error);

}  // namespace thermal_sim
