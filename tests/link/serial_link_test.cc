#include "printer/link/serial_link.h"

#include <gtest/gtest.h>

#include "printer/link/link_messages.h"
#include "printer/messages.h"
#include "tests/support/fake_link_platform.h"

namespace kvitra {
namespace {

using testing_support::ScriptedChannel;

const std::string kErrorModeFrame = std::string("\x1bP0#e89\x1b\\\x05");

class SerialLinkTest : public ::testing::Test {
 protected:
  SerialLinkTest() {
    platform_.port.portLine = "COM1";
    platform_.settings.comSpeed = 19200;
    platform_.settings.xonXoff = true;
  }
  uint32_t Elapsed() { return platform_.clock.Ticks() - 1000; }

  testing_support::FakeLinkPlatform platform_;
};

TEST_F(SerialLinkTest, HealthyPrinterComesUpAfterOneOpening) {
  ScriptedChannel& port = platform_.serialPorts.AddPort();
  port.Silence().Send("\x04");
  std::unique_ptr<SerialLink> link = platform_.StartSerial();
  ASSERT_NE(link, nullptr);

  ASSERT_EQ(platform_.serialPorts.openings.size(), 1u);
  const auto& opening = platform_.serialPorts.openings[0];
  EXPECT_EQ(opening.name, "\\\\.\\COM1");
  EXPECT_EQ(opening.baudRate, 19200);
  EXPECT_TRUE(opening.xonXoff);
  ASSERT_EQ(port.appliedTimeouts.size(), 1u);
  const platform::CommTimeouts& t = port.appliedTimeouts[0];
  EXPECT_EQ(t.readIntervalTimeout, 200u);
  EXPECT_EQ(t.readTotalTimeoutMultiplier, 200u);
  EXPECT_EQ(t.readTotalTimeoutConstant, 500u);
  EXPECT_EQ(t.writeTotalTimeoutMultiplier, 200u);
  EXPECT_EQ(t.writeTotalTimeoutConstant, 100u);
  EXPECT_EQ(port.writtenBytes, kErrorModeFrame);
  EXPECT_EQ(Elapsed(), 200u + 700 + 100) << "200 ms pause, one empty read and its pause";
  EXPECT_TRUE(platform_.ui.errors.empty());

  link->Close();
  link->Close();
  link.reset();
  EXPECT_EQ(platform_.serialPorts.closes, 1);
}

TEST_F(SerialLinkTest, PrefixedNameIsUsedUnchanged) {
  platform_.serialPorts.AddUnopenable();
  OpenSerialPort(platform_.serialPorts, "\\\\.\\COM12", 9600, false);
  OpenSerialPort(platform_.serialPorts, "COM12", 9600, false);
  EXPECT_EQ(platform_.serialPorts.openings[0].name, "\\\\.\\COM12");
  EXPECT_EQ(platform_.serialPorts.openings[1].name, "\\\\.\\COM12");
}

TEST_F(SerialLinkTest, SecondOpeningAfter500Ms) {
  platform_.serialPorts.AddUnopenable();
  platform_.serialPorts.AddPort().Send("\x04");
  EXPECT_NE(platform_.StartSerial(), nullptr);
  ASSERT_EQ(platform_.serialPorts.openings.size(), 2u);
  EXPECT_EQ(platform_.serialPorts.openings[1].ticks - platform_.serialPorts.openings[0].ticks, 500u);
}

TEST_F(SerialLinkTest, PortThatCannotBeOpenedFailsAfterTwoOpenings) {
  EXPECT_EQ(platform_.StartSerial(), nullptr);
  ASSERT_EQ(platform_.serialPorts.openings.size(), 2u);
  EXPECT_EQ(platform_.serialPorts.openings[1].ticks - platform_.serialPorts.openings[0].ticks, 500u);
  EXPECT_EQ(platform_.ui.errors, std::vector<std::string>{messages::kErrPortOpen});
  EXPECT_EQ(Elapsed(), 500u);
}

// The port is freed when it is closed, so "no frame" shows as no second opening
// and no time spent in a status wait.
TEST_F(SerialLinkTest, RefusedTimeoutsCloseThePortBeforeAnyFrame) {
  platform_.serialPorts.AddPort().acceptTimeouts = false;
  EXPECT_EQ(platform_.StartSerial(), nullptr);
  EXPECT_EQ(platform_.ui.errors, std::vector<std::string>{messages::kErrPortTimeouts});
  EXPECT_EQ(platform_.serialPorts.closes, 1);
  EXPECT_EQ(platform_.serialPorts.openings.size(), 1u);
  EXPECT_EQ(Elapsed(), 0u);
}

TEST_F(SerialLinkTest, SilentPrinterGivesTwoStartUpsAndTheErrorModeMessage) {
  platform_.serialPorts.AddPort();
  platform_.serialPorts.AddPort();
  EXPECT_EQ(platform_.StartSerial(), nullptr);
  EXPECT_EQ(platform_.serialPorts.openings.size(), 2u);
  EXPECT_EQ(platform_.serialPorts.closes, 2);
  EXPECT_EQ(platform_.ui.errors,
            std::vector<std::string>{messages::kErrPrinterComm + link_messages::kSuffixErrorMode});
  EXPECT_EQ(Elapsed(), 200u + 5500 + 500 + 200 + 5500);  // about 12 s
}

TEST_F(SerialLinkTest, RefusedFirstCommandRetriesTheWholeStartUp) {
  platform_.serialPorts.AddPort().Send("\x60");
  platform_.serialPorts.AddUnopenable();
  platform_.serialPorts.AddPort().Send("\x04");
  std::unique_ptr<SerialLink> link = platform_.StartSerial();
  EXPECT_NE(link, nullptr);
  EXPECT_EQ(platform_.serialPorts.openings.size(), 3u);
  EXPECT_EQ(platform_.serialPorts.closes, 1);
  EXPECT_TRUE(platform_.ui.errors.empty());
}

TEST(ReceiptReadTotalConstant, ScaledPerPositionOrFixed) {
  struct Case {
    bool scale;
    int64_t positions;
    int32_t expected;
  };
  PortConfig config;  // base 3000, per position 300, fixed 6000
  for (const Case& c : {Case{true, 2, 3600}, Case{true, 1, 3300}, Case{false, 2, 6000},
                        Case{true, int64_t{1} << 40, INT32_MAX}}) {
    config.scaleTimeout = c.scale;
    EXPECT_EQ(ReceiptReadTotalConstant(config, c.positions), c.expected) << c.positions;
  }
}

// Each job step's read-total constant goes out with the rest of line 3.
TEST_F(SerialLinkTest, EachJobStepSetsItsReadTotalConstant) {
  platform_.port.readIntervalTimeout = -1;  // MAXDWORD written as -1 in PORT.CFG
  platform_.port.baseTimeout = 1000;
  platform_.port.perPositionTimeout = 250;
  ScriptedChannel& port = platform_.serialPorts.AddPort();
  port.Send("\x04");
  std::unique_ptr<SerialLink> link = platform_.StartSerial();
  ASSERT_NE(link, nullptr);

  struct Step {
    const char* name;
    bool (*begin)(SerialLink&);
    uint32_t constant;
  };
  const Step steps[] = {{"receipt", [](SerialLink& l) { return l.BeginReceipt(2); }, 1500},
                        {"payout", [](SerialLink& l) { return l.BeginPayout(); }, 1000},
                        {"cash state", [](SerialLink& l) { return l.BeginCashState(); }, 3000}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    EXPECT_TRUE(step.begin(*link));
    const platform::CommTimeouts& applied = port.appliedTimeouts.back();
    EXPECT_EQ(applied.readIntervalTimeout, 0xFFFFFFFFu);
    EXPECT_EQ(applied.readTotalTimeoutConstant, step.constant);
    EXPECT_EQ(applied.writeTotalTimeoutConstant, 100u);
  }
  const size_t applied = port.appliedTimeouts.size();
  link->BeginClosing();
  EXPECT_EQ(port.appliedTimeouts.size(), applied) << "the receipt's limit holds for its closing";
  EXPECT_FALSE(link->CancelsRefusedOpening());

}

TEST_F(SerialLinkTest, WithoutScalingTheStepsTakeTheFixedTimeout) {
  platform_.port.scaleTimeout = false;
  platform_.port.fixedTimeout = 7000;
  ScriptedChannel& port = platform_.serialPorts.AddPort();
  port.Send("\x04");
  std::unique_ptr<SerialLink> link = platform_.StartSerial();
  ASSERT_NE(link, nullptr);
  ASSERT_TRUE(link->BeginReceipt(5));
  EXPECT_EQ(port.appliedTimeouts.back().readTotalTimeoutConstant, 7000u);
  ASSERT_TRUE(link->BeginPayout());
  EXPECT_EQ(port.appliedTimeouts.back().readTotalTimeoutConstant, 7000u);
}

// The request whose reply is read, and the reply, are each tried up to 60
// times, each try after 500 ms; a reply is followed by the status request.
TEST_F(SerialLinkTest, RequestAndReplyAreTriedSixtyTimes500MsApart) {
  ScriptedChannel& port = platform_.serialPorts.AddPort();
  port.Send("\x04");
  std::unique_ptr<SerialLink> link = platform_.StartSerial();
  ASSERT_NE(link, nullptr);
  const uint64_t sleptBefore = platform_.clock.SleptMs();
  port.failWritesBefore = port.writeCalls.size() + 2;
  EXPECT_TRUE(link->SendRequest("23#s"));
  EXPECT_EQ(platform_.clock.SleptMs() - sleptBefore, 3u * 500);

  port.writtenBytes.clear();
  port.Send("\x1bQ").Send("\x1bQ").Send("\x1bP417\x1b\\").Send("\x04");  // two bad starts, then the reply
  char reply[16];
  const uint64_t sleptAtReply = platform_.clock.SleptMs();
  ASSERT_TRUE(link->ReceiveReply(reply, sizeof reply));
  EXPECT_STREQ(reply, "417");
  EXPECT_EQ(port.writtenBytes, "\x05") << "the status is asked for after the reply";
  EXPECT_EQ(platform_.clock.SleptMs() - sleptAtReply, 3u * (500 + 100)) << "500 ms before each try";

  port.failWritesBefore = SIZE_MAX;
  const size_t writesBefore = port.writeCalls.size();
  EXPECT_FALSE(link->SendRequest("23#s"));
  EXPECT_EQ(port.writeCalls.size() - writesBefore, 60u) << "60 tries, then it gives up";
}

TEST_F(SerialLinkTest, StepLimitsThatCannotBeSetCloseTheLink) {
  ScriptedChannel& port = platform_.serialPorts.AddPort();
  port.Send("\x04");
  std::unique_ptr<SerialLink> link = platform_.StartSerial();
  ASSERT_NE(link, nullptr);
  port.acceptTimeouts = false;
  EXPECT_FALSE(link->BeginCashState());
  EXPECT_EQ(platform_.serialPorts.closes, 1);
  EXPECT_FALSE(link->SendFrame("0#t", true));
  link->Close();
  EXPECT_EQ(platform_.serialPorts.closes, 1);
}

}  // namespace
}  // namespace kvitra
