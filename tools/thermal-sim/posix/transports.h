#pragma once
// Linux's two lines; Serve picks the one the options name.
#include <cstdio>
#include <string>

#include "tools/thermal-sim/options.h"
#include "tools/thermal-sim/simulator.h"

namespace thermal_sim {

int ServeTcp(const Options& options, Simulator& simulator, FILE* announce, std::string& error);
int ServePty(const Options& options, Simulator& simulator, FILE* announce, std::string& error);

}  // namespace thermal_sim
