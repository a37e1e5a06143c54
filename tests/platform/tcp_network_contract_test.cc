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
  void SetUp() override { ASSERT_TRUE(network_.Startup().ok()); }
  void TearDown() override { network_.Cleanup(); }

  TcpNetwork& network_ = SystemTcpNetwork();
};

TEST_F(TcpNetworkContract, ConnectsAndAReadWithNothingComingEndsAfterTheReceiveTime) {
  auto listener = contract::ListenOnLoopback();
  const Result<std::vector<ResolvedAddress>> addresses = network_.Resolve("127.0.0.1", listener->Port());
  ASSERT_TRUE(addresses.ok()) << addresses.status().ToString();
  ASSERT_FALSE(addresses->empty());
  Result<std::unique_ptr<TcpSocket>> created = network_.CreateSocket(addresses->front());
  ASSERT_TRUE(created.ok()) << created.status().ToString();
  std::unique_ptr<TcpSocket>& socket = *created;
  ASSERT_TRUE(socket->Connect(addresses->front()).ok());

  socket->SetReceiveTimeout(300);
  const auto start = steady_clock::now();
  const Result<std::optional<uint8_t>> read = socket->ReadByte();
  const auto spent = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start).count();
  ASSERT_TRUE(read.ok());
  EXPECT_FALSE(read->has_value());
  EXPECT_GE(spent, 250);
  EXPECT_LE(spent, 3000);
}

TEST_F(TcpNetworkContract, FailuresGiveTheSystemsCodes) {
  const Result<std::vector<ResolvedAddress>> none = network_.Resolve("127.0.0.1", "nosuchservice");
  ASSERT_FALSE(none.ok());
  EXPECT_NE(none.status().systemCode(), 0);
  EXPECT_FALSE(none.status().systemText().empty()) << none.status().ToString();

  const Result<std::unique_ptr<TcpSocket>> unsupported = network_.CreateSocket({-1, kStream, kTcp, {}});
  ASSERT_FALSE(unsupported.ok());
  EXPECT_EQ(unsupported.status().systemCode(), contract::FamilyNotSupportedCode());

  const Result<std::vector<ResolvedAddress>> closed = network_.Resolve("127.0.0.1", contract::ClosedLoopbackPort());
  ASSERT_TRUE(closed.ok());
  ASSERT_FALSE(closed->empty());
  Result<std::unique_ptr<TcpSocket>> socket = network_.CreateSocket(closed->front());
  ASSERT_TRUE(socket.ok());
  const Status refused = (*socket)->Connect(closed->front());
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(refused.systemCode(), 0) << "the refusal says why";
}

}  // namespace
}  // namespace platform
