#pragma once
// Splits the byte stream from the link into Thermal frames: ESC 'P' payload
// ESC '\' [ENQ]. Fed one byte at a time; never holds more than kMaxPayload
// bytes of a frame.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace thermal_sim {

struct ReceivedFrame {
  std::string command;   // the payload without its two checksum characters
  std::string checksum;  // the two characters as received (may be fewer when the payload was short)
  bool checksumOk = false;
  bool enq = false;      // the frame was followed directly by ENQ
};

struct ParserEvent {
  enum class Kind {
    kFrame,       // a complete frame, see `frame`
    kEnq,         // an ENQ that does not follow a frame directly
    kOverflow,    // a frame longer than kMaxPayload, thrown away
  };
  Kind kind = Kind::kFrame;
  ReceivedFrame frame;
};

class FrameParser {
 public:
  static constexpr size_t kMaxPayload = 2048;

  // Takes the next byte; returns an event when this byte completes one.
  std::optional<ParserEvent> Feed(uint8_t byte);

  // A frame's closing pair has arrived and the parser waits for the next byte
  // to learn whether ENQ follows. The transport calls Idle() when the line has
  // been quiet for a moment, which ends that wait.
  bool AwaitingEnq() const { return state_ == State::kAfterClose; }
  std::optional<ParserEvent> Idle();

  // Forgets any partial frame (a new connection starts clean).
  void Reset();

 private:
  enum class State { kOutside, kAfterOutsideEsc, kPayload, kAfterPayloadEsc, kAfterClose, kDiscarding };

  ParserEvent CompleteFrame(bool enq);
  ParserEvent Overflow();
  std::optional<ParserEvent> FeedOutside(uint8_t byte);

  State state_ = State::kOutside;
  std::string payload_;
};

// True when `checksum` is the two uppercase hexadecimal characters of the
// checksum of `command`.
bool ChecksumMatches(const std::string& command, const std::string& checksum);

}  // namespace thermal_sim
