#include "tools/thermal-sim/simulator.h"

#include <array>

#include "protocol/frame_format.h"
#include "tools/thermal-sim/command_text.h"
#include "tools/thermal-sim/log_text.h"

namespace thermal_sim {

namespace frame = protocol::frame;

std::string ReplyFrame(const std::string& payload) {
  const std::array<char, 2> sum = frame::ChecksumChars(frame::Checksum(payload));
  std::string bytes;
  bytes.push_back(static_cast<char>(frame::kEsc));
  bytes.push_back(static_cast<char>(frame::kOpen));
  bytes += payload;
  bytes.append(sum.data(), sum.size());
  bytes.push_back(static_cast<char>(frame::kEsc));
  bytes.push_back(static_cast<char>(frame::kClose));
  return bytes;
}

Simulator::Simulator(const SimulatorConfig& config, platform::Clock& clock, SimulatorOutput& output)
    : config_(config), clock_(clock), output_(output), printer_(config.firstReceipt, config.charset) {}

void Simulator::Log(const std::string& line) { output_.Log(FormatTimestamp(clock_.Now()) + " " + line); }

void Simulator::BeginConnection(const std::string& description) {
  ++connection_;
  framesInConnection_ = 0;
  parser_.Reset();
  if (config_.faults.counting == FrameCounting::kPerConnection) silent_ = false;
  Log("CONNECTION n=" + std::to_string(connection_) + " open " + description);
}

void Simulator::EndConnection(const std::string& reason) {
  Log("CONNECTION n=" + std::to_string(connection_) + " closed frames=" + std::to_string(framesInConnection_) +
      " " + reason + " receipt=" + (printer_.ReceiptOpen() ? "open" : "none"));
  if (config_.cancelOnClose && printer_.ReceiptOpen()) {
    CommandOutcome outcome = printer_.CancelOpenReceipt(clock_.Now());
    for (const std::string& event : outcome.events) Log(event + " reason=line-closed");
    if (!outcome.printout.empty()) output_.Print(outcome.printout);
  }
}

Answer Simulator::Feed(uint8_t byte) {
  output_.Received(byte);
  std::optional<ParserEvent> event = parser_.Feed(byte);
  return event ? Handle(*event) : Answer{};
}

Answer Simulator::Idle() {
  std::optional<ParserEvent> event = parser_.Idle();
  return event ? Handle(*event) : Answer{};
}

Answer Simulator::Handle(const ParserEvent& event) {
  switch (event.kind) {
    case ParserEvent::Kind::kFrame:
      return HandleFrame(event.frame);
    case ParserEvent::Kind::kEnq:
      return HandleStrayEnq();
    case ParserEvent::Kind::kOverflow:
      Log("OVERFLOW conn=" + std::to_string(connection_) + " frame longer than " +
          std::to_string(FrameParser::kMaxPayload) + " bytes thrown away");
      return {};
  }
  return {};
}

bool Simulator::IsRefusedCommand(const std::string& command) const {
  CommandText split = SplitCommand(command);
  const std::set<std::string>& refused = config_.faults.refuseCommands;
  return (!split.code.empty() && refused.count(split.code)) || refused.count(split.parameters + split.code);
}

Answer Simulator::HandleFrame(const ReceivedFrame& received) {
  const Faults& faults = config_.faults;
  ++framesInConnection_;
  ++framesInRun_;
  uint64_t number = faults.counting == FrameCounting::kPerConnection ? framesInConnection_ : framesInRun_;
  if (faults.silentFrom != 0 && number >= faults.silentFrom) silent_ = true;

  std::string line = "FRAME n=" + std::to_string(number) + " conn=" + std::to_string(connection_) + " cmd=\"" +
                     EscapeBytes(received.command) + "\" checksum=" + (received.checksumOk ? "ok" : "bad") +
                     " enq=" + (received.enq ? "yes" : "no");
  Answer answer;
  answer.delayMs = faults.delayMs;
  answer.drop = faults.dropAfter != 0 && number == faults.dropAfter;
  CommandOutcome outcome;
  std::string verdict;
  if (silent_) {
    verdict = "result=silent";
  } else if (!received.checksumOk) {
    verdict = "result=refused fault=bad-checksum note=\"checksum " + EscapeBytes(received.checksum) + "\"";
  } else if (faults.refuseFrames.count(number)) {
    verdict = "result=refused fault=refuse-frame";
  } else if (IsRefusedCommand(received.command)) {
    verdict = "result=refused fault=refuse-command";
  } else {
    outcome = printer_.Execute(received.command, clock_.Now());
    verdict = std::string("result=") + (outcome.accepted ? "accepted" : "refused") + " note=\"" +
              EscapeBytes(outcome.note) + "\"";
  }

  std::string sent = "none";
  if (!silent_) {
    lastStatus_ = outcome.accepted ? kStatusAccept : kStatusRefuse;
    if (outcome.reply) {
      answer.bytes += ReplyFrame(*outcome.reply);
      sent = "reply";
      // The reply is read with an ENQ after it; that ENQ is answered as accepted.
      lastStatus_ = kStatusAccept;
    }
    if (received.enq) {
      answer.bytes.push_back(static_cast<char>(lastStatus_));
      sent = sent == "reply" ? "reply+status:" : "status:";
      sent += FormatStatus(lastStatus_);
    }
  }
  Log(line + " answer=" + sent + " " + verdict);
  if (outcome.reply) Log("REPLY conn=" + std::to_string(connection_) + " payload=\"" + EscapeBytes(*outcome.reply) + "\"");
  for (const std::string& event : outcome.events) Log(event);
  if (!outcome.printout.empty()) output_.Print(outcome.printout);
  if (answer.drop) Log("DROP conn=" + std::to_string(connection_) + " after frame " + std::to_string(number));
  return answer;
}

Answer Simulator::HandleStrayEnq() {
  Answer answer;
  if (silent_) {
    Log("ENQ conn=" + std::to_string(connection_) + " answer=none result=silent");
    return answer;
  }
  answer.delayMs = config_.faults.delayMs;
  answer.bytes.push_back(static_cast<char>(lastStatus_));
  Log("ENQ conn=" + std::to_string(connection_) + " answer=status:" + FormatStatus(lastStatus_));
  return answer;
}

}  // namespace thermal_sim
