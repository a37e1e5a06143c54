#pragma once
// The simulator's command line.
#include <string>
#include <vector>

#include "tools/thermal-sim/simulator.h"

namespace thermal_sim {

struct Options {
  enum class Transport { kNone, kTcp, kPty };
  Transport transport = Transport::kNone;
  std::string tcpHost;   // as given, brackets of an IPv6 literal removed
  std::string tcpPort;   // "0" picks a free port
  std::string ptyPath;   // the symbolic link to create
  std::string logPath;       // empty: standard error
  std::string receiptsPath;  // empty: standard output
  std::string wirePath;      // the bytes received, as they came; empty: not kept
  std::string faultsFile;    // fault options re-read for every session; empty: none
  uint32_t idleMs = 50;      // quiet time after a frame before it counts as sent without ENQ
  SimulatorConfig simulator;
  bool help = false;
  bool version = false;
};

struct ParsedOptions {
  Options options;
  std::string error;  // empty on success
};

ParsedOptions ParseOptions(const std::vector<std::string>& arguments);

// Fault options as written in a faults file, e.g. "--refuse-frame 3\n--delay 100".
// On success replaces `faults` (keeping its frame counting) and returns "";
// otherwise leaves it alone and returns what is wrong.
std::string ParseFaultsText(const std::string& text, Faults& faults);

const char* HelpText();

}  // namespace thermal_sim
