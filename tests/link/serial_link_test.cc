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
    context_.port.portLine = "COM1";
    context_.settings.comSpeed = 19200;
    context_.settings.xonXoff = true;
  }
  uint32_t Elapsed() { return platform_.clock.Ticks() - 1000; }

  testing_support::FakeLinkPlatform platform_;
  JobContext context_ = platform_.Context();
};

TEST_F(SerialLinkTest, HealthyPrinterComesUpAfterOneOpening) {
  ScriptedChannel& port = platform_.serialPorts.AddPort();
  port.Silence().Send("\x04");
  std::unique_ptr<SerialLink> link = StartSerialLink(context_);
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
  EXPECT_NE(StartSerialLink(context_), nullptr);
  ASSERT_EQ(platform_.serialPorts.openings.size(), 2u);
  EXPECT_EQ(platform_.serialPorts.openings[1].ticks - platform_.serialPorts.openings[0].ticks, 500u);
}

TEST_F(SerialLinkTest, PortThatCannotBeOpenedFailsAfterTwoOpenings) {
  EXPECT_EQ(StartSerialLink(context_), nullptr);
  ASSERT_EQ(platform_.serialPorts.openings.size(), 2u);
  EXPECT_EQ(platform_.serialPorts.openings[1].ticks - platform_.serialPorts.openings[0].ticks, 500u);
  EXPECT_EQ(platform_.ui.errors, std::vector<std::string>{messages::kErrPortOpen});
  EXPECT_EQ(Elapsed(), 500u);
}

// The port is freed when it is closed, so "no frame" shows as no second opening
// and no time spent in a status wait.
TEST_F(SerialLinkTest, RefusedTimeoutsCloseThePortBeforeAnyFrame) {
  platform_.serialPorts.AddPort().acceptTimeouts = false;
  EXPECT_EQ(StartSerialLink(context_), nullptr);
  EXPECT_EQ(platform_.ui.errors, std::vector<std::string>{messages::kErrPortTimeouts});
  EXPECT_EQ(platform_.serialPorts.closes, 1);
  EXPECT_EQ(platform_.serialPorts.openings.size(), 1u);
  EXPECT_EQ(Elapsed(), 0u);
}

TEST_F(SerialLinkTest, SilentPrinterGivesTwoStartUpsAndTheErrorModeMessage) {
  platform_.serialPorts.AddPort();
  platform_.serialPorts.AddPort();
  EXPECT_EQ(StartSerialLink(context_), nullptr);
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
  std::unique_ptr<SerialLink> link = StartSerialLink(context_);
  EXPECT_NE(link, nullptr);
  EXPECT_EQ(platform_.serialPorts.openings.size(), 3u);
  EXPECT_EQ(platform_.serialPorts.closes, 1);
  EXPECT_TRUE(platform_.ui.errors.empty());
}

TEST_F(SerialLinkTest, ReadTimeChangesKeepLineThreeAndCloseOnRefusal) {
  context_.port.readIntervalTimeout = -1;  // MAXDWORD written as -1 in PORT.CFG
  ScriptedChannel& port = platform_.serialPorts.AddPort();
  port.Send("\x04");
  std::unique_ptr<SerialLink> link = StartSerialLink(context_);
  ASSERT_NE(link, nullptr);

  EXPECT_TRUE(link->SetReadTotalConstant(3900));
  ASSERT_EQ(port.appliedTimeouts.size(), 2u);
  EXPECT_EQ(port.appliedTimeouts[1].readIntervalTimeout, 0xFFFFFFFFu);
  EXPECT_EQ(port.appliedTimeouts[1].readTotalTimeoutConstant, 3900u);
  EXPECT_EQ(port.appliedTimeouts[1].writeTotalTimeoutConstant, 100u);

  port.acceptTimeouts = false;
  EXPECT_FALSE(link->SetReadTotalConstant(3000));
  EXPECT_FALSE(link->IsOpen());
  EXPECT_EQ(platform_.serialPorts.closes, 1);
  EXPECT_FALSE(link->SendFrame("0#t", true));
  link->Close();
  EXPECT_EQ(platform_.serialPorts.closes, 1);
}

}  // namespace
}  // namespace kvitra
