#include "tools/thermal-sim/line_session.h"

#include <cstdio>
#include <optional>

#include "tools/thermal-sim/log_text.h"
#include "tools/thermal-sim/stop_signal.h"

namespace thermal_sim {
namespace {

enum class Sent { kOk, kLineFailed, kDropped, kStopped };

Sent SendAnswer(Line& line, const Answer& answer) {
  if (!answer.bytes.empty()) {
    if (answer.delayMs != 0 && !WaitUnlessStopped(answer.delayMs)) return Sent::kStopped;
    if (!line.WriteAll(answer.bytes)) return Sent::kLineFailed;
  }
  return answer.drop ? Sent::kDropped : Sent::kOk;
}

std::optional<SessionEnd> EndFor(Sent sent) {
  switch (sent) {
    case Sent::kOk: return std::nullopt;
    case Sent::kLineFailed: return SessionEnd::kClientGone;
    case Sent::kDropped: return SessionEnd::kDropped;
    case Sent::kStopped: return SessionEnd::kStopped;
  }
  return std::nullopt;
}

constexpr size_t kMaxFaultsFile = 4096;

}  // namespace

void StartSession(Simulator& simulator, const Options& options, const std::string& description) {
  Faults faults = options.simulator.faults;
  std::string note;
  if (!options.faultsFile.empty()) {
    if (FILE* file = std::fopen(options.faultsFile.c_str(), "rb")) {
      char buffer[kMaxFaultsFile + 1];
      size_t size = std::fread(buffer, 1, sizeof buffer, file);
      std::fclose(file);
      std::string text(buffer, size);
      std::string error = size > kMaxFaultsFile ? "longer than " + std::to_string(kMaxFaultsFile) + " bytes"
                                                : ParseFaultsText(text, faults);
      if (!error.empty()) faults = options.simulator.faults;
      note = error.empty() ? "FAULTS from " + options.faultsFile + ": \"" + EscapeBytes(text) + "\""
                           : "FAULTS file " + options.faultsFile + " ignored: " + EscapeBytes(error);
    }
  }
  simulator.ReplaceFaults(faults);
  simulator.BeginConnection(description);
  if (!note.empty()) simulator.Note(note);
}

const char* TcpEndText(SessionEnd end) {
  switch (end) {
    case SessionEnd::kDropped: return "dropped";
    case SessionEnd::kStopped: return "stopped";
    case SessionEnd::kClientGone: return "by client";
  }
  return "by client";
}

SessionEnd ServeSession(Line& line, Simulator& simulator, uint32_t idleMs) {
  unsigned char buffer[512];
  for (;;) {
    if (StopRequested()) return SessionEnd::kStopped;
    std::optional<uint32_t> quiet;
    if (simulator.AwaitingEnq()) quiet = idleMs;
    switch (line.Wait(quiet)) {
      case Line::Ready::kStopped: return SessionEnd::kStopped;
      case Line::Ready::kFailed: return SessionEnd::kClientGone;
      case Line::Ready::kQuiet:
        if (auto end = EndFor(SendAnswer(line, simulator.Idle()))) return *end;
        continue;
      case Line::Ready::kReadable: break;
    }
    // Read what is there even when the client has hung up: its last bytes count.
    size_t count = 0;
    const Line::Read read = line.ReadSome(buffer, sizeof buffer, count);
    if (read == Line::Read::kNothingYet) continue;
    if (read == Line::Read::kEnded) {
      // The end of the line also ends a frame that waited for its ENQ.
      if (simulator.AwaitingEnq()) SendAnswer(line, simulator.Idle());
      return SessionEnd::kClientGone;
    }
    for (size_t i = 0; i < count; ++i)
      if (auto end = EndFor(SendAnswer(line, simulator.Feed(buffer[i])))) return *end;
  }
}

}  // namespace thermal_sim
