#pragma once
// The printer as the link sees it: bytes in, answer bytes out. Splits the
// stream into frames, checks each checksum, applies the requested faults,
// lets the fiscal printer carry the command out and logs every frame.
#include <cstdint>
#include <set>
#include <string>

#include "platform/clock.h"
#include "protocol/frame_format.h"
#include "tools/thermal-sim/fiscal_printer.h"
#include "tools/thermal-sim/frame_parser.h"
#include "tools/thermal-sim/printer_charset.h"

namespace thermal_sim {

inline constexpr uint8_t kStatusAccept = 0x64;
inline constexpr uint8_t kStatusRefuse = 0x60;
static_assert((kStatusAccept & protocol::frame::kStatusAccepted) != 0);
static_assert((kStatusRefuse & protocol::frame::kStatusAccepted) == 0);

// Which frames the numbers of the fault options count.
enum class FrameCounting {
  kPerConnection,  // from 1 in every TCP connection or pseudo-terminal session
  kWholeRun,       // from 1 over the whole run of the simulator
};

struct Faults {
  std::set<std::string> refuseCommands;  // a code such as "$l", or parameters and code such as "0#e"
  std::set<uint64_t> refuseFrames;
  uint64_t silentFrom = 0;  // 0: never silent
  uint64_t dropAfter = 0;   // 0: never drop
  uint32_t delayMs = 0;
  FrameCounting counting = FrameCounting::kPerConnection;
};

struct SimulatorConfig {
  Faults faults;
  // A real printer keeps a receipt open when the line goes; with this set the
  // simulator cancels it instead, so one failed job does not block the next.
  bool cancelOnClose = false;
  uint64_t firstReceipt = 1;
  Charset charset = Charset::kMazovia;
};

class SimulatorOutput {
 public:
  virtual ~SimulatorOutput() = default;
  virtual void Log(const std::string& line) = 0;    // one line, no line end
  virtual void Print(const std::string& paper) = 0;  // a whole printout
  virtual void Received(uint8_t) {}                   // each byte read from the line, in order
};

struct Answer {
  std::string bytes;     // to be written to the line, after delayMs
  uint32_t delayMs = 0;
  bool drop = false;     // close the line once the bytes are written
};

class Simulator {
 public:
  Simulator(const SimulatorConfig& config, platform::Clock& clock, SimulatorOutput& output);

  void BeginConnection(const std::string& description);
  // Faults for the connections that begin from now on.
  void ReplaceFaults(const Faults& faults) { config_.faults = faults; }
  void Note(const std::string& line) { Log(line); }
  void EndConnection(const std::string& reason);

  Answer Feed(uint8_t byte);
  // The line has been quiet for a moment: a frame still waiting to learn
  // whether ENQ follows is taken as sent without ENQ.
  Answer Idle();
  bool AwaitingEnq() const { return parser_.AwaitingEnq(); }

  const FiscalPrinter& Printer() const { return printer_; }

 private:
  Answer Handle(const ParserEvent& event);
  Answer HandleFrame(const ReceivedFrame& frame);
  Answer HandleStrayEnq();
  bool IsRefusedCommand(const std::string& command) const;
  void Log(const std::string& line);

  SimulatorConfig config_;
  platform::Clock& clock_;
  SimulatorOutput& output_;
  FrameParser parser_;
  FiscalPrinter printer_;
  uint64_t connection_ = 0;
  uint64_t framesInConnection_ = 0;
  uint64_t framesInRun_ = 0;
  uint8_t lastStatus_ = kStatusAccept;
  bool silent_ = false;
};

// ESC 'P' payload checksum ESC '\'.
std::string ReplyFrame(const std::string& payload);

}  // namespace thermal_sim
