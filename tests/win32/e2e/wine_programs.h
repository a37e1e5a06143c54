#pragma once
// Runs the Windows programs under Wine from a Linux test, in the prefix that
// scripts/test-windows.sh made for the run (WINEPREFIX, DISPLAY, WINEDEBUG
// come from there), with the Linux thermal-sim as the printer.
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/process_runner.h"

namespace wine_e2e {

// Z:\... for a Linux path: how a Windows program under Wine names it.
std::string WindowsPath(const std::string& linuxPath);

// The prefix's registry gets the printer settings of `regFile` (a .reg file
// as the examples have it) through `wine reg import`; true on success.
bool ImportSettings(const std::string& regFile);

// The prefix of this run (WINEPREFIX).
std::string WinePrefix();

// Where KVITRA.EXE of this prefix keeps its archive copies.
std::string WindowsArchive();
// Empties it. A copy is never replaced, and jobs that end within the same
// second with the same result code share a name: each run that checks its
// copy starts with an empty archive (the runs that do are one after another).
void ClearWindowsArchive();

// The environment of a Windows program for one scratch "computer": no
// window (KVITRA_HEADLESS=1) unless `withScreen`, the host directory as a
// Windows path.
std::map<std::string, std::string> WineEnvironment(const e2e::Scratch& scratch, bool withScreen = false);

// PORT.CFG naming `portLine`, the rest as in examples/PORT.CFG.network.
std::string PortConfig(const std::string& portLine);

struct Outcome {
  int exitCode = -1;
  std::string errors;  // standard error
};

// The command line that runs `program` (a Linux path to a .EXE) under Wine.
std::vector<std::string> WineCommand(const std::string& program, const std::vector<std::string>& arguments = {});

// Runs `wine program` in `directory` and waits for its end.
Outcome RunUnderWine(const std::string& program, const std::string& directory,
                     const std::map<std::string, std::string>& env,
                     std::chrono::milliseconds limit = std::chrono::seconds(60));

// Path of a file of the source tree's examples/ folder.
std::string Example(const std::string& name);

}  // namespace wine_e2e
