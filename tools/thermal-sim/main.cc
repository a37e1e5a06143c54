// thermal-sim: a Thermal fiscal printer on a TCP port or a pseudo-terminal.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/program_info.h"
#include "tools/thermal-sim/log_text.h"
#include "tools/thermal-sim/options.h"
#include "tools/thermal-sim/simulator.h"
#include "tools/thermal-sim/standard_streams.h"
#include "tools/thermal-sim/stop_signal.h"
#include "tools/thermal-sim/transports.h"

namespace {

// The log and the printouts, each flushed as it is written so that a reader
// (a test, a tail -f) sees every line at once.
class FileOutput : public thermal_sim::SimulatorOutput {
 public:
  FileOutput(FILE* log, FILE* paper, FILE* wire) : log_(log), paper_(paper), wire_(wire) {}
  void Log(const std::string& line) override {
    std::fprintf(log_, "%s\n", line.c_str());
    std::fflush(log_);
  }
  void Print(const std::string& paper) override {
    std::fputs(paper.c_str(), paper_);
    std::fflush(paper_);
  }
  void Received(uint8_t byte) override {
    if (!wire_) return;
    std::fputc(byte, wire_);
    std::fflush(wire_);
  }

 private:
  FILE* log_;
  FILE* paper_;
  FILE* wire_;  // null: not kept
};

// Binary: every file gets the bytes as they are, with no line-end translation.
FILE* OpenForAppend(const std::string& path, FILE* fallback) {
  if (path.empty()) return fallback;
  return std::fopen(path.c_str(), "ab");
}

}  // namespace

int main(int argc, char** argv) {
  thermal_sim::PrepareStandardStreams();
  thermal_sim::ParsedOptions parsed = thermal_sim::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.options.help || parsed.options.version) {
    const auto request = parsed.options.help ? platform::InformationRequest::Help : platform::InformationRequest::Version;
    std::fputs(platform::InformationText(request, "thermal-sim", thermal_sim::HelpText()).c_str(), stdout);
    return 0;
  }
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "thermal-sim: %s (see --help)\n", parsed.error.c_str());
    return 2;
  }
  const thermal_sim::Options& options = parsed.options;
  FILE* log = OpenForAppend(options.logPath, stderr);
  FILE* paper = OpenForAppend(options.receiptsPath, stdout);
  FILE* wire = options.wirePath.empty() ? nullptr : OpenForAppend(options.wirePath, nullptr);
  if (!log || !paper || (!options.wirePath.empty() && !wire)) {
    const std::string& path = !log ? options.logPath : !paper ? options.receiptsPath : options.wirePath;
    std::fprintf(stderr, "thermal-sim: cannot open %s\n", path.c_str());
    return 1;
  }
  thermal_sim::InstallStopHandlers();
  FileOutput output(log, paper, wire);
  thermal_sim::Simulator simulator(options.simulator, platform::SystemClock(), output);

  std::string error;
  int code = thermal_sim::Serve(options, simulator, stdout, error);
  if (code != 0) std::fprintf(stderr, "thermal-sim: %s\n", error.c_str());
  output.Log(thermal_sim::FormatTimestamp(platform::SystemClock().Now()) + " STOP exit=" + std::to_string(code));
  if (log != stderr) std::fclose(log);
  if (paper != stdout) std::fclose(paper);
  if (wire) std::fclose(wire);
  return code;
}
