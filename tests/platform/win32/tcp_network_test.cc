// Winsock TCP beyond the contract: bytes both ways, the end of a connection,
// small writes without delay, against a loopback listener of the test's own.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "platform/tcp_network.h"

namespace platform {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// A listening socket on 127.0.0.1 and the one connection it accepts.
class Listener {
 public:
  Listener() {
    listening_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listening_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listening_, 1);
    int length = sizeof address;
    getsockname(listening_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~Listener() {
    CloseAccepted();
    closesocket(listening_);
  }
  std::string Port() const { return std::to_string(port_); }
  void Accept() { accepted_ = accept(listening_, nullptr, nullptr); }
  void Send(const std::string& bytes) { send(accepted_, bytes.data(), int(bytes.size()), 0); }
  std::string Receive(size_t size) {
    std::string bytes(size, '\0');
    size_t got = 0;
    while (got < size) {
      const int count = recv(accepted_, bytes.data() + got, int(size - got), 0);
      if (count <= 0) break;
      got += size_t(count);
    }
    return bytes.substr(0, got);
  }
  void CloseAccepted() {
    if (accepted_ != INVALID_SOCKET) closesocket(accepted_);
    accepted_ = INVALID_SOCKET;
  }

 private:
  SOCKET listening_ = INVALID_SOCKET;
  SOCKET accepted_ = INVALID_SOCKET;
  uint16_t port_ = 0;
};

// The network layer started for as long as a test runs.
class NetworkSession {
 public:
  NetworkSession() : started_(SystemTcpNetwork().Startup().ok()) {}
  ~NetworkSession() {
    if (started_) SystemTcpNetwork().Cleanup();
  }
  bool started() const { return started_; }

 private:
  bool started_;
};

class WinsockTcpNetworkTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(session_.started()); }

  // A socket connected to the listener, which has accepted it.
  std::unique_ptr<TcpSocket> Connected() {
    const Result<std::vector<ResolvedAddress>> addresses = network_.Resolve("127.0.0.1", listener_.Port());
    EXPECT_TRUE(addresses.ok() && !addresses->empty());
    if (!addresses.ok() || addresses->empty()) return nullptr;
    Result<std::unique_ptr<TcpSocket>> socket = network_.CreateSocket(addresses->front());
    EXPECT_TRUE(socket.ok());
    if (!socket.ok()) return nullptr;
    EXPECT_TRUE((*socket)->Connect(addresses->front()).ok());
    listener_.Accept();
    return std::move(*socket);
  }

  TcpNetwork& network_ = SystemTcpNetwork();
  NetworkSession session_;  // before the listener, which needs it
  Listener listener_;
};

std::string ReadBytes(TcpSocket& socket, size_t count) {
  std::string bytes;
  while (bytes.size() < count) {
    const Result<std::optional<uint8_t>> read = socket.ReadByte();
    if (!read || !*read) break;
    bytes += char(**read);
  }
  return bytes;
}

TEST_F(WinsockTcpNetworkTest, BytesPassBothWaysAndTheEndOfTheConnectionReadsAsNothing) {
  auto socket = Connected();
  ASSERT_NE(socket, nullptr);
  const std::string frame("\x1bP0#e\x00\xff\x1b\\", 9);
  const Result<size_t> written = socket->Write(reinterpret_cast<const uint8_t*>(frame.data()), frame.size());
  ASSERT_TRUE(written.ok());
  EXPECT_EQ(*written, frame.size());
  EXPECT_EQ(listener_.Receive(frame.size()), frame);

  listener_.Send(std::string("\x06\x80", 2));
  EXPECT_EQ(ReadBytes(*socket, 2), std::string("\x06\x80", 2));
  listener_.CloseAccepted();
  const Result<std::optional<uint8_t>> end = socket->ReadByte();
  ASSERT_TRUE(end.ok());
  EXPECT_FALSE(end->has_value());
}

// Small writes one after another, then a reply: with Nagle's algorithm on,
// each exchange would wait ~40 ms for the listener's delayed acknowledgement.
// A frame goes out in one write, but some frames follow one another unanswered.
TEST_F(WinsockTcpNetworkTest, SmallWritesGoOutWithoutWaitingForAcknowledgements) {
  auto socket = Connected();
  ASSERT_NE(socket, nullptr);
  socket->SetReceiveTimeout(2000);
  constexpr int kExchanges = 20;
  const auto start = steady_clock::now();
  for (int i = 0; i < kExchanges; ++i) {
    for (const char* part : {"\x1bP", "0#e", "00", "\x1b\\"})
      ASSERT_TRUE(socket->Write(reinterpret_cast<const uint8_t*>(part), std::strlen(part)).ok());
    ASSERT_EQ(listener_.Receive(9).size(), 9u);
    listener_.Send("\x06");
    ASSERT_EQ(ReadBytes(*socket, 1), "\x06");
  }
  const auto spent = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start).count();
  EXPECT_LT(spent, kExchanges * 20);
}

}  // namespace
}  // namespace platform
