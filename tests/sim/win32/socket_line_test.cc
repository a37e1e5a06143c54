// The simulator's Windows line over a real loopback connection (under Wine in
// the Windows test run): what its event-driven waits must never miss.
#include "tools/thermal-sim/win32/socket_line.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "tools/thermal-sim/stop_signal.h"
#include "tools/thermal-sim/win32/stop_event.h"

namespace thermal_sim {
namespace {

using Clock = std::chrono::steady_clock;

// A connected pair of loopback sockets: `server` as the simulator accepts it.
class Connection : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(listen(listener, 1), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), length), 0);
    server = accept(listener, nullptr, nullptr);
    closesocket(listener);
    ASSERT_NE(server, INVALID_SOCKET);
  }
  void TearDown() override {
    if (client != INVALID_SOCKET) closesocket(client);
    if (server != INVALID_SOCKET) closesocket(server);
    WSACleanup();
  }

  void ClientSends(const std::string& bytes) {
    ASSERT_EQ(send(client, bytes.data(), static_cast<int>(bytes.size()), 0), static_cast<int>(bytes.size()));
  }

  // Everything the line reads until it ends (or waits 2 s in vain).
  static std::string ReadToEnd(SocketLine& line, bool& ended) {
    std::string got;
    unsigned char buffer[512];
    ended = false;
    while (line.Wait(2000) == Line::Ready::kReadable) {
      size_t count = 0;
      const Line::Read read = line.ReadSome(buffer, sizeof buffer, count);
      if (read == Line::Read::kEnded) {
        ended = true;
        break;
      }
      if (read == Line::Read::kBytes) got.append(reinterpret_cast<char*>(buffer), count);
    }
    return got;
  }

  SOCKET client = INVALID_SOCKET;
  SOCKET server = INVALID_SOCKET;
};

// The close is reported once, together with the last bytes: more than one
// read's worth must still all be read, and then the end.
TEST_F(Connection, LastBytesAndTheCloseAreAllSeen) {
  const std::string bytes(1500, 'x');
  ClientSends(bytes);
  closesocket(client);
  client = INVALID_SOCKET;
  Sleep(100);  // both reported before the line first waits
  SocketLine line(server);
  bool ended = false;
  EXPECT_EQ(ReadToEnd(line, ended), bytes);
  EXPECT_TRUE(ended);
}

TEST_F(Connection, QuietLineEndsTheWaitAfterItsTime) {
  SocketLine line(server);
  const auto start = Clock::now();
  EXPECT_EQ(line.Wait(100), Line::Ready::kQuiet);
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  EXPECT_GE(waited, 90);
  EXPECT_LT(waited, 2000);
  ClientSends("\x05");
  EXPECT_EQ(line.Wait(2000), Line::Ready::kReadable);
}

// A large answer to a client that reads slowly: the non-blocking socket takes
// it in parts, and every byte arrives.
TEST_F(Connection, WriteAllSendsEverythingThroughAFullBuffer) {
  const std::string bytes(4 << 20, 'y');
  std::string received;
  std::thread reader([&] {
    Sleep(200);
    char buffer[65536];
    while (received.size() < bytes.size()) {
      const int got = recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      received.append(buffer, static_cast<size_t>(got));
    }
  });
  SocketLine line(server);
  EXPECT_TRUE(line.WriteAll(bytes));
  reader.join();
  EXPECT_EQ(received.size(), bytes.size());
}

// Last in this file: a stop cannot be taken back within a process.
TEST_F(Connection, StopEndsAWaitWithoutLimit) {
  SocketLine line(server);
  std::thread stopper([] {
    Sleep(100);
    RequestStop();
  });
  const auto start = Clock::now();
  EXPECT_EQ(line.Wait(std::nullopt), Line::Ready::kStopped);
  stopper.join();
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  EXPECT_TRUE(StopRequested());
  EXPECT_FALSE(WaitUnlessStopped(10000));
}

}  // namespace
}  // namespace thermal_sim
