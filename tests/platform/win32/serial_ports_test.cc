// Serial ports over a null-modem pair of pseudo-terminals that
// with_com_pair.sh links into the Wine prefix; COM_PAIR names the two ports
// (for example "COM23 COM24"). Without it the tests are skipped.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include "platform/comm_timeouts.h"
#include "platform/serial_port.h"

namespace platform {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr uint32_t M = kMaxDword;

class CommSerialPortsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* pair = std::getenv("COM_PAIR");
    if (pair == nullptr) GTEST_SKIP() << "run by with_com_pair.sh";
    std::istringstream(pair) >> nameA_ >> nameB_;
    nameA_ = "\\\\.\\" + nameA_;
    nameB_ = "\\\\.\\" + nameB_;
  }

  std::unique_ptr<SerialPort> Open(const std::string& name, bool xonXoff = false, int32_t baud = 9600) {
    Result<std::unique_ptr<SerialPort>> port = SystemSerialPorts().Open(name, baud, xonXoff);
    EXPECT_TRUE(port.ok()) << name << ": " << port.status().ToString();
    if (!port) return nullptr;
    EXPECT_TRUE((*port)->SetTimeouts({0, 0, 1000, 0, 1000}).ok());
    return std::move(*port);
  }

  static void Send(SerialPort& port, const std::string& bytes) {
    const Result<size_t> written = port.Write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ASSERT_TRUE(written.ok());
    ASSERT_EQ(*written, bytes.size());
  }

  // Reads until `count` bytes have come or a read ends empty.
  static std::string Receive(SerialPort& port, size_t count) {
    std::string bytes;
    while (bytes.size() < count) {
      const Result<std::optional<uint8_t>> read = port.ReadByte();
      if (!read || !*read) break;
      bytes += char(**read);
    }
    return bytes;
  }

  // The line settings the port keeps once it is closed again.
  DCB SettingsLeftOn(const std::string& name) {
    const HANDLE handle = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(GetCommState(handle, &dcb));
    CloseHandle(handle);
    return dcb;
  }

  std::string nameA_, nameB_;
};

// Wine reads DTR and RTS back as enabled whatever was set (its GetCommState
// reports the modem lines it cannot read from a pseudo-terminal that way),
// so they are not compared here.
TEST_F(CommSerialPortsTest, LineSettingsAreEightNoneOneWithTheChosenRateAndFlowControl) {
  Open(nameA_, true, 19200).reset();
  DCB dcb = SettingsLeftOn(nameA_);
  EXPECT_EQ(dcb.BaudRate, 19200u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  EXPECT_FALSE(dcb.fOutxCtsFlow);
  EXPECT_FALSE(dcb.fOutxDsrFlow);
  EXPECT_TRUE(dcb.fOutX && dcb.fInX);
  EXPECT_EQ(dcb.XonChar, 0x11);
  EXPECT_EQ(dcb.XoffChar, 0x13);

  Open(nameA_, false, 9600).reset();
  dcb = SettingsLeftOn(nameA_);
  EXPECT_EQ(dcb.BaudRate, 9600u);
  EXPECT_FALSE(dcb.fOutX || dcb.fInX);
}

TEST_F(CommSerialPortsTest, EveryByteValuePassesUnchangedWithoutXonXoff) {
  auto a = Open(nameA_);
  auto b = Open(nameB_);
  ASSERT_TRUE(a && b);
  std::string all;
  for (int value = 0; value < 256; ++value) all += char(value);
  Send(*a, all);
  EXPECT_EQ(Receive(*b, all.size()), all);
  Send(*b, "\x13\x11ok");
  EXPECT_EQ(Receive(*a, 4), "\x13\x11ok");
}

TEST_F(CommSerialPortsTest, XonXoffTakesFlowControlBytesOutOfTheData) {
  auto a = Open(nameA_, true);
  auto b = Open(nameB_);
  ASSERT_TRUE(a && b);
  Send(*b, "a\x13\x11" "b");
  EXPECT_EQ(Receive(*a, 2), "ab");
}

}  // namespace
}  // namespace platform
