#include "tools/thermal-sim/frame_parser.h"

#include <array>

#include "protocol/frame_format.h"

namespace thermal_sim {

namespace frame = protocol::frame;

bool ChecksumMatches(const std::string& command, const std::string& checksum) {
  if (checksum.size() != 2) return false;
  const std::array<char, 2> expected = frame::ChecksumChars(frame::Checksum(command));
  return checksum[0] == expected[0] && checksum[1] == expected[1];
}

ParserEvent FrameParser::CompleteFrame(bool enq) {
  ParserEvent event;
  event.kind = ParserEvent::Kind::kFrame;
  ReceivedFrame& received = event.frame;
  size_t split = payload_.size() >= 2 ? payload_.size() - 2 : 0;
  received.command = payload_.substr(0, split);
  received.checksum = payload_.substr(split);
  received.checksumOk = ChecksumMatches(received.command, received.checksum);
  received.enq = enq;
  payload_.clear();
  state_ = State::kOutside;
  return event;
}

std::optional<ParserEvent> FrameParser::FeedOutside(uint8_t byte) {
  if (byte == frame::kEsc) {
    state_ = State::kAfterOutsideEsc;
  } else if (byte == frame::kEnq) {
    ParserEvent event;
    event.kind = ParserEvent::Kind::kEnq;
    return event;
  }
  // Any other byte between frames is line noise and is skipped.
  return std::nullopt;
}

std::optional<ParserEvent> FrameParser::Feed(uint8_t byte) {
  switch (state_) {
    case State::kOutside:
      return FeedOutside(byte);
    case State::kAfterOutsideEsc:
      if (byte == frame::kOpen) {
        payload_.clear();
        state_ = State::kPayload;
      } else {
        state_ = State::kOutside;
        return FeedOutside(byte);
      }
      return std::nullopt;
    case State::kPayload:
      if (byte == frame::kEsc) {
        state_ = State::kAfterPayloadEsc;
        return std::nullopt;
      }
      break;
    case State::kAfterPayloadEsc:
      if (byte == frame::kClose) {
        state_ = State::kAfterClose;
        return std::nullopt;
      }
      if (byte == frame::kOpen) {
        // A new frame begins inside an unfinished one: the sender gave up on
        // the first (a cut send), so the printer starts over.
        payload_.clear();
        state_ = State::kPayload;
        return std::nullopt;
      }
      // ESC and the byte after it stay in the payload.
      state_ = State::kPayload;
      if (payload_.size() + 2 > kMaxPayload) return Overflow();
      payload_.push_back(static_cast<char>(frame::kEsc));
      payload_.push_back(static_cast<char>(byte));
      return std::nullopt;
    case State::kAfterClose: {
      if (byte == frame::kEnq) return CompleteFrame(true);
      ParserEvent completed = CompleteFrame(false);
      // The byte belongs to what follows; a frame needs no event of its own here
      // because the only byte that could complete something at once is ENQ.
      FeedOutside(byte);
      return completed;
    }
    case State::kDiscarding:
      if (byte == frame::kEsc) state_ = State::kAfterOutsideEsc;
      return std::nullopt;
  }
  if (payload_.size() >= kMaxPayload) return Overflow();
  payload_.push_back(static_cast<char>(byte));
  return std::nullopt;
}

ParserEvent FrameParser::Overflow() {
  payload_.clear();
  state_ = State::kDiscarding;
  ParserEvent event;
  event.kind = ParserEvent::Kind::kOverflow;
  return event;
}

std::optional<ParserEvent> FrameParser::Idle() {
  if (state_ != State::kAfterClose) return std::nullopt;
  return CompleteFrame(false);
}

void FrameParser::Reset() {
  payload_.clear();
  state_ = State::kOutside;
}

}  // namespace thermal_sim
