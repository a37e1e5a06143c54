// TCP client connections against a loopback listener of the test's own.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/tcp_network.h"
#include "tests/platform/contract_host.h"

namespace platform {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// SOCK_STREAM and IPPROTO_TCP, the same numbers on every system.
constexpr int kStream = 1;
constexpr int kTcp = 6;

class TcpNetworkContract : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(network_.Startup(), 0); }
  void TearDown() override { network_.Cleanup(); }

  TcpNetwork& network_ = SystemTcpNetwork();
};

TEST_F(TcpNetworkContract, ConnectsAndAReadWithNothingComingEndsAfterTheReceiveTime) {
  auto listener = contract::ListenOnLoopback();
  std::vector<ResolvedAddress> addresses;
  ASSERT_EQ(network_.Resolve("127.0.0.1", listener->Port(), addresses), 0);
  ASSERT_FALSE(addresses.empty());
  int error = 0;
  auto socket = network_.CreateSocket(addresses.front(), error);
  ASSERT_NE(socket, nullptr) << error;
  ASSERT_TRUE(socket->Connect(addresses.front()));

  socket->SetReceiveTimeout(300);
  uint8_t byte = 0;
  size_t received = 9;
  const auto start = steady_clock::now();
  EXPECT_TRUE(socket->ReadByte(byte, received));
  const auto spent = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start).count();
  EXPECT_EQ(received, 0u);
  EXPECT_GE(spent, 250);
  EXPECT_LE(spent, 3000);
}

TEST_F(TcpNetworkContract, FailuresGiveTheSystemsCodes) {
  std::vector<ResolvedAddress> addresses;
  EXPECT_NE(network_.Resolve("127.0.0.1", "nosuchservice", addresses), 0);
  EXPECT_TRUE(addresses.empty());

  int error = 0;
  EXPECT_EQ(network_.CreateSocket({-1, kStream, kTcp, {}}, error), nullptr);
  EXPECT_EQ(error, contract::FamilyNotSupportedCode());

  ASSERT_EQ(network_.Resolve("127.0.0.1", contract::ClosedLoopbackPort(), addresses), 0);
  ASSERT_FALSE(addresses.empty());
  auto socket = network_.CreateSocket(addresses.front(), error);
  ASSERT_NE(socket, nullptr);
  EXPECT_FALSE(socket->Connect(addresses.front()));
}

}  // namespace
}  // namespace platform
