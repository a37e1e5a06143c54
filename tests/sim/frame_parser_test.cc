#include "tools/thermal-sim/frame_parser.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/sim/frame_helpers.h"

namespace thermal_sim {
namespace {

using sim_test::Frame;

// Feeds every byte, then lets the line go quiet; returns all events.
std::vector<ParserEvent> ParseAll(FrameParser& parser, const std::string& bytes) {
  std::vector<ParserEvent> events;
  for (char c : bytes)
    if (auto event = parser.Feed(static_cast<uint8_t>(c))) events.push_back(*event);
  if (auto event = parser.Idle()) events.push_back(*event);
  return events;
}

TEST(FrameParser, ChecksumVerdicts) {
  struct Case {
    std::string bytes;
    std::string command;
    bool ok;
  };
  const Case cases[] = {
      {"\x1bP0#e89\x1b\\\x05", "0#e", true},
      {"\x1bP1$d8E\x1b\\", "1$d", true},
      {"\x1bP" "FF\x1b\\", "", true},                  // the empty command
      {"\x1bP0#e88\x1b\\\x05", "0#e", false},           // wrong sum
      {"\x1bP1$d8e\x1b\\", "1$d", false},               // lowercase hexadecimal is not what the link sends
      {"\x1bPF\x1b\\", "", false},                      // payload too short to hold a checksum
      {Frame("1$lOp\xb3" "ata\r1\rE/1.00/1.00/"), "1$lOp\xb3" "ata\r1\rE/1.00/1.00/", true},  // bytes from 0x80 up
  };
  for (const Case& c : cases) {
    FrameParser parser;
    std::vector<ParserEvent> events = ParseAll(parser, c.bytes);
    ASSERT_EQ(events.size(), 1u) << c.command;
    EXPECT_EQ(events[0].kind, ParserEvent::Kind::kFrame);
    EXPECT_EQ(events[0].frame.command, c.command);
    EXPECT_EQ(events[0].frame.checksumOk, c.ok) << c.command;
  }
}

TEST(FrameParser, EnqDirectlyAfterTheFrameBelongsToIt) {
  FrameParser parser;
  std::vector<ParserEvent> events = ParseAll(parser, Frame("0#e") + Frame("1$d", false) + Frame("0#t"));
  ASSERT_EQ(events.size(), 3u);
  EXPECT_TRUE(events[0].frame.enq);
  EXPECT_FALSE(events[1].frame.enq);
  EXPECT_EQ(events[1].frame.command, "1$d");
  EXPECT_TRUE(events[2].frame.enq);
  // An ENQ after the line went quiet is a status request of its own.
  FrameParser quiet;
  std::vector<ParserEvent> split = ParseAll(quiet, Frame("23#s", false));
  ASSERT_EQ(split.size(), 1u);
  EXPECT_FALSE(split[0].frame.enq);
  auto enq = quiet.Feed(0x05);
  ASSERT_TRUE(enq);
  EXPECT_EQ(enq->kind, ParserEvent::Kind::kEnq);
}

TEST(FrameParser, FrameSplitAcrossReadsWaitsForItsEnd) {
  FrameParser parser;
  std::string bytes = Frame("3$h");
  for (size_t i = 0; i + 1 < bytes.size(); ++i) EXPECT_FALSE(parser.Feed(static_cast<uint8_t>(bytes[i]))) << i;
  EXPECT_TRUE(parser.AwaitingEnq());
  auto event = parser.Feed(static_cast<uint8_t>(bytes.back()));
  ASSERT_TRUE(event);
  EXPECT_EQ(event->frame.command, "3$h");
  EXPECT_TRUE(event->frame.enq);
}

TEST(FrameParser, EscInsidePayloadAndNoiseAround) {
  FrameParser parser;
  // Noise before the frame is skipped; ESC + other byte stays in the command;
  // ESC ESC '\' ends nothing, because the second ESC is the byte after the first.
  std::string command = std::string("A\x1b") + "xB\x1b\x1b\\C";
  std::vector<ParserEvent> events = ParseAll(parser, "junk\x1bQ" + Frame(command));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].frame.command, command);
  EXPECT_TRUE(events[0].frame.checksumOk);
}

TEST(FrameParser, NewFrameInsideACutOneStartsOver) {
  FrameParser parser;
  std::vector<ParserEvent> events = ParseAll(parser, "\x1bP1$lcut in the mid" + Frame("0$e"));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].frame.command, "0$e");
  EXPECT_TRUE(events[0].frame.checksumOk);
}

TEST(FrameParser, OverlongFrameIsThrownAwayAndTheNextOneParsed) {
  FrameParser parser;
  std::string huge(FrameParser::kMaxPayload + 10, 'x');
  std::vector<ParserEvent> events = ParseAll(parser, "\x1bP" + huge + "\x1b\\\x05" + Frame("0#e"));
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, ParserEvent::Kind::kOverflow);
  EXPECT_EQ(events[1].kind, ParserEvent::Kind::kEnq);  // the overlong frame's ENQ arrives on its own
  EXPECT_EQ(events[2].frame.command, "0#e");
  // An ESC pair right at the limit is thrown away the same way.
  FrameParser atLimit;
  std::string edge(FrameParser::kMaxPayload - 1, 'y');
  std::vector<ParserEvent> edgeEvents = ParseAll(atLimit, "\x1bP" + edge + "\x1bz" + Frame("0#t"));
  ASSERT_GE(edgeEvents.size(), 2u);
  EXPECT_EQ(edgeEvents[0].kind, ParserEvent::Kind::kOverflow);
  EXPECT_EQ(edgeEvents.back().frame.command, "0#t");
}

}  // namespace
}  // namespace thermal_sim
