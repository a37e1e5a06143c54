// The serial port's read and write limits, which follow the COMMTIMEOUTS
// rules on every system, against the far end of a null-modem line.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/comm_timeouts.h"
#include "platform/serial_port.h"
#include "tests/platform/contract_host.h"

namespace platform {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

class SerialPortContract : public ::testing::Test {
 protected:
  void SetUp() override {
    peer_ = contract::OpenSerialPeer();
    if (!peer_) GTEST_SKIP() << "no null-modem pair in this run";
  }
  std::unique_ptr<SerialPort> Open(int32_t rate = 9600) {
    Result<std::unique_ptr<SerialPort>> port = SystemSerialPorts().Open(peer_->PortName(), rate, false);
    return port ? std::move(*port) : nullptr;
  }

  std::unique_ptr<contract::SerialPeer> peer_;
};

TEST_F(SerialPortContract, ReadsEndAsTheLimitsSay) {
  auto port = Open();
  ASSERT_NE(port, nullptr);
  const uint32_t M = kMaxDword;
  struct Case {
    const char* name;
    CommTimeouts timeouts;
    int sendAfterMs;  // -1: nothing sent
    size_t received;
    int minMs, maxMs;
  } cases[] = {
      {"interval MAXDWORD, no total: at once", {M, 0, 0, 0, 0}, -1, 0, 0, 100},
      {"total constant and multiplier", {200, 50, 100, 0, 0}, -1, 0, 130, 1000},
      {"a byte ends the wait", {200, 200, 2000, 0, 0}, 50, 1, 30, 1200},
      {"MAXDWORD both: the first byte ends it", {M, M, 2000, 0, 0}, 50, 1, 30, 1200},
      {"MAXDWORD both: the constant ends it", {M, M, 150, 0, 0}, -1, 0, 130, 1000},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(port->SetTimeouts(c.timeouts).ok()) << c.name;
    std::thread sender;
    if (c.sendAfterMs >= 0)
      sender = std::thread([&] {
        std::this_thread::sleep_for(milliseconds(c.sendAfterMs));
        peer_->Send("z");
      });
    const auto start = steady_clock::now();
    const Result<std::optional<uint8_t>> read = port->ReadByte();
    const auto spent = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start).count();
    if (sender.joinable()) sender.join();
    ASSERT_TRUE(read.ok()) << c.name;
    EXPECT_EQ(read->has_value() ? 1u : 0u, c.received) << c.name;
    if (read->has_value()) {
      EXPECT_EQ(**read, 'z') << c.name;
    }
    EXPECT_GE(spent, c.minMs) << c.name;
    EXPECT_LE(spent, c.maxMs) << c.name;
  }
}

TEST_F(SerialPortContract, ReadThatTimesOutKeepsWhatArrived) {
  auto port = Open();
  ASSERT_NE(port, nullptr);
  ASSERT_TRUE(port->SetTimeouts({0, 0, 300, 0, 0}).ok());
  peer_->Send("ab");
  std::string got;
  for (int i = 0; i < 3; ++i) {
    const Result<std::optional<uint8_t>> read = port->ReadByte();
    ASSERT_TRUE(read.ok());
    if (*read) got += char(**read);
  }
  EXPECT_EQ(got, "ab");
}

TEST_F(SerialPortContract, WriteLimitEndsAWriteThatCannotGetThrough) {
  auto port = Open();
  ASSERT_NE(port, nullptr);
  ASSERT_TRUE(port->SetTimeouts({0, 0, 0, 0, 300}).ok());
  // Nobody reads the far end: the line's buffers fill up and stay full.
  const std::string bytes(1 << 20, 'w');
  const auto start = steady_clock::now();
  const Result<size_t> written = port->Write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const auto spent = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start).count();
  ASSERT_TRUE(written.ok()) << "time running out is no failure";
  EXPECT_LT(*written, bytes.size());
  EXPECT_GE(spent, 250);
  EXPECT_LE(spent, 3000);
}

TEST_F(SerialPortContract, OpeningFailsForAMissingPortOrARateTheLineCannotTake) {
  const Result<std::unique_ptr<SerialPort>> missing = SystemSerialPorts().Open(contract::MissingPortName(), 9600, false);
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.status().systemCode(), 0) << "the system says why";
  EXPECT_NE(Open(115200), nullptr);
  EXPECT_EQ(Open(12345), nullptr);
}

TEST_F(SerialPortContract, SecondOpenOfAnOpenPortIsRefused) {
  if (!contract::SystemCapabilities().exclusiveSerialOpen)
    GTEST_SKIP() << "Wine's CreateFileA ignores share mode 0 on a serial port";
  auto first = Open();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Open(), nullptr);
}

}  // namespace
}  // namespace platform
