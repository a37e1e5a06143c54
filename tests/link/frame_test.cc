#include "printer/link/frame.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/scripted_channel.h"
#include "tests/support/virtual_clock.h"

namespace kvitra {
namespace {

using testing_support::ScriptedChannel;
using testing_support::VirtualClock;

constexpr char kAccepted[] = "\x04";

class FrameTest : public ::testing::Test {
 protected:
  VirtualClock clock_{1000};
  ScriptedChannel channel_{clock_, 700};
};

struct WorkedFrame {
  const char* command;
  bool wantStatus;
  std::string bytes;
};

TEST_F(FrameTest, SendsWorkedFramesWholeInOneWrite) {
  const WorkedFrame frames[] = {
      {"0#e", true, std::string("\x1bP0#e89\x1b\\\x05")},
      {"1$d", false, std::string("\x1bP1$d8E\x1b\\")},
      {"", false, std::string("\x1bPFF\x1b\\")},
      {"", true, std::string("\x1bPFF\x1b\\\x05")},
      // Converted Polish letters enter the checksum as they are: FF^A5^86 = DC.
      {"\xa5\x86", false, std::string("\x1bP\xa5\x86" "DC\x1b\\")},
  };
  for (const WorkedFrame& frame : frames) {
    ScriptedChannel channel(clock_, 700);
    channel.Send(kAccepted);
    EXPECT_TRUE(SendFrame(channel, clock_, frame.command, frame.wantStatus)) << frame.command;
    EXPECT_EQ(channel.writtenBytes, frame.bytes) << frame.command;
    ASSERT_EQ(channel.writeCalls.size(), 1u) << "opening, command, checksum and trailer together";
    EXPECT_EQ(channel.reads, frame.wantStatus ? 1 : 0);
  }
}

TEST_F(FrameTest, WithoutStatusNothingIsRead) {
  EXPECT_TRUE(SendFrame(channel_, clock_, "1$d", false));  // printer switched off
  EXPECT_EQ(channel_.reads, 0);
  EXPECT_EQ(clock_.Ticks(), 1000u);
}

TEST_F(FrameTest, AnIncompleteWriteFailsTheSend) {
  for (bool shortWrite : {false, true}) {
    ScriptedChannel channel(clock_, 700);
    channel.Send(kAccepted);
    (shortWrite ? channel.shortWriteCall : channel.failWriteCall) = 0;
    EXPECT_FALSE(SendFrame(channel, clock_, "0#e", true)) << shortWrite;
    EXPECT_EQ(channel.writeCalls.size(), 1u) << "nothing written after it";
    EXPECT_EQ(channel.reads, 0) << "no status waited for";
  }
}

TEST_F(FrameTest, StatusBitDecidesAtOnce) {
  struct Case {
    uint8_t status;
    bool accepted;
  } cases[] = {{0x04, true}, {0xFF, true}, {0x24, true}, {0x60, false}, {0x00, false}, {0xFB, false}};
  for (const Case& c : cases) {
    ScriptedChannel channel(clock_, 700);
    channel.Silence().Send(std::string(1, static_cast<char>(c.status)));
    const uint32_t before = clock_.Ticks();
    EXPECT_EQ(SendFrame(channel, clock_, "0#e", true), c.accepted) << int(c.status);
    EXPECT_EQ(channel.reads, 2);
    EXPECT_EQ(clock_.Ticks() - before, 800u) << "one empty read and its pause, no more";
  }
}

TEST_F(FrameTest, SilentPrinterOverSerialDefaultsFailsAtSeventhEmptyRead) {
  EXPECT_FALSE(SendFrame(channel_, clock_, "0#e", true));
  EXPECT_EQ(channel_.reads, 7);
  EXPECT_EQ(clock_.Ticks() - 1000, 7 * 700u + 6 * 100u);  // about 5.5 s
}

TEST_F(FrameTest, StatusWaitNeverExceedsFiftyAttempts) {
  ScriptedChannel failing(clock_, 0);
  for (int i = 0; i < 60; ++i) failing.FailRead();
  EXPECT_FALSE(SendFrame(failing, clock_, "0#e", true));
  EXPECT_EQ(failing.reads, 50);
}

TEST_F(FrameTest, LongReadTimeStretchesTheStatusWait) {
  ScriptedChannel slow(clock_, 30000);
  EXPECT_FALSE(SendFrame(slow, clock_, "0#e", true));
  EXPECT_EQ(slow.reads, 1);
  EXPECT_EQ(clock_.Ticks() - 1000, 30000u);

  ScriptedChannel answering(clock_, 4900);
  answering.Silence().Send(kAccepted);
  EXPECT_TRUE(SendFrame(answering, clock_, "0#e", true)) << "limit looked at only after an empty read";
}

// Receiving ------------------------------------------------------------------

struct ReplyCase {
  const char* name;
  std::string script;
  bool ok;
  std::string payload;
};

TEST_F(FrameTest, ReadsReplyFrames) {
  const ReplyCase cases[] = {
      {"plain", "\x1bP1/2/3A7\x1b\\", true, "1/2/3A7"},
      {"empty payload", "\x1bP\x1b\\", true, ""},
      {"bytes before ESC skipped", "noise\x1bPok\x1b\\", true, "ok"},
      {"ESC and another byte kept", "\x1bPa\x1bQb\x1b\\", true, "a\x1bQb"},
      {"ESC ESC backslash does not end", "\x1bPa\x1b\x1b\\b\x1b\\", true, "a\x1b\x1b\\b"},
      {"wrong second byte", "\x1bQok\x1b\\", false, ""},
      {"cut inside payload", "\x1bPabc", false, ""},
      {"cut after ESC", "\x1bPabc\x1b", false, ""},
  };
  for (const ReplyCase& c : cases) {
    ScriptedChannel channel(clock_, 700);
    channel.Send(c.script);
    char buffer[64];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(ReceiveFrame(channel, clock_, buffer, sizeof buffer, false), c.ok) << c.name;
    if (c.ok) {
      EXPECT_EQ(std::string(buffer), c.payload) << c.name;
    }
    EXPECT_TRUE(channel.writtenBytes.empty()) << c.name;
  }
}

TEST_F(FrameTest, WrongSecondByteStopsReading) {
  channel_.Send("\x1bQ\x1bP\x1b\\");
  char buffer[16];
  EXPECT_FALSE(ReceiveFrame(channel_, clock_, buffer, sizeof buffer, false));
  EXPECT_EQ(channel_.reads, 2);
}

TEST_F(FrameTest, LooksForOpeningEscAtMostFiftyOneReads) {
  channel_.Send(std::string(50, 'a') + "\x1bPok\x1b\\");
  char buffer[16];
  EXPECT_TRUE(ReceiveFrame(channel_, clock_, buffer, sizeof buffer, false));

  ScriptedChannel late(clock_, 700);
  late.Send(std::string(51, 'a') + "\x1bPok\x1b\\");
  EXPECT_FALSE(ReceiveFrame(late, clock_, buffer, sizeof buffer, false));
  EXPECT_EQ(late.reads, 51);
}

TEST_F(FrameTest, SilentReplyEndsAfterWaitLimit) {
  char buffer[16];
  EXPECT_FALSE(ReceiveFrame(channel_, clock_, buffer, sizeof buffer, false));
  // Start pause, then empty reads of 700 ms with 100 ms pauses until 5 s are gone.
  EXPECT_EQ(channel_.reads, 7);
  EXPECT_EQ(clock_.Ticks() - 1000, 100 + 7 * 700u + 6 * 100u);
}

TEST_F(FrameTest, ReplyNeverRunsPastItsBuffer) {
  struct Case {
    std::string payload;
    bool fits;
  } cases[] = {
      {"1234567", true},          // seven bytes and the NUL fill eight
      {"12345678", false},
      {"12345\x1bQ", true},       // the kept ESC pair ends exactly at the NUL
      {"123456\x1bQ", false},     // the pair would leave no room for the NUL
  };
  for (const Case& c : cases) {
    ScriptedChannel channel(clock_, 700);
    channel.Send("\x1bP" + c.payload + "\x1b\\");
    char buffer[12];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(ReceiveFrame(channel, clock_, buffer, 8, false), c.fits) << c.payload;
    if (c.fits) {
      EXPECT_EQ(std::string(buffer), c.payload);
    }
    EXPECT_EQ(std::string(buffer + 8, 4), "XXXX") << "nothing written past the buffer";
  }
}

TEST_F(FrameTest, StatusAfterReplyWhenWanted) {
  struct Case {
    std::string after;
    bool ok;
  } cases[] = {{"\x04", true}, {"\x60", false}, {"", false}};
  for (const Case& c : cases) {
    ScriptedChannel channel(clock_, 700);
    channel.Send("\x1bPx\x1b\\" + c.after);
    char buffer[16];
    EXPECT_EQ(ReceiveFrame(channel, clock_, buffer, sizeof buffer, true), c.ok);
    EXPECT_EQ(channel.writtenBytes, "\x05");
  }
}

}  // namespace
}  // namespace kvitra
