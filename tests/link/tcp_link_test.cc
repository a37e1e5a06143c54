#include "printer/link/tcp_link.h"

#include <gtest/gtest.h>

#include "printer/link/link_messages.h"
#include "printer/messages.h"
#include "tests/support/fake_link_platform.h"

namespace kvitra {
namespace {

TEST(SplitAddressTest, HostBeforeFirstColonServiceAtMostFiveCharacters) {
  struct Case {
    std::string text, host, service;
  } cases[] = {
      {"192.168.1.20:6001", "192.168.1.20", "6001"},
      {"10.0.0.1:600123", "10.0.0.1", "60012"},
      {"10.0.0.1:80   ", "10.0.0.1", "80   "},
      {"127.0.0.1", "", "127.0"},
      {"12", "", "12"},
      {"", "", ""},
      {"::1:80", "", ":1:80"},
  };
  for (const Case& c : cases) {
    const TcpAddress address = SplitAddress(c.text);
    EXPECT_EQ(address.host, c.host) << c.text;
    EXPECT_EQ(address.service, c.service) << c.text;
  }
}

class TcpLinkTest : public ::testing::Test {
 protected:
  TcpLinkTest() { platform_.port.portLine = "192.168.1.20:6001"; }
  std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const auto& m : platform_.ui.messages) texts.push_back(m.text);
    return texts;
  }

  testing_support::FakeLinkPlatform platform_;
};

TEST_F(TcpLinkTest, ConnectionFailuresShowTheirBoxAndReleaseTheNetwork) {
  struct Case {
    const char* name;
    std::function<void(testing_support::FakeTcpNetwork&)> setUp;
    std::string box;
    int cleanups;
  } cases[] = {
      {"start-up", [](auto& n) { n.startupCode = 10091; }, "WSAStartup failed with error: 10091", 0},
      {"resolve", [](auto& n) { n.resolveCode = -2; }, "getaddrinfo failed with error: -2", 1},
      {"socket",
       [](auto& n) {
         n.connectResults = {false, true};
         n.socketFailsAt = 1;
         n.socketError = 24;
       },
       "socket failed with error: 24", 1},
      {"every address refuses", [](auto& n) { n.connectResults = {false, false, false}; },
       "Unable to connect to server!", 1},
  };
  for (const Case& c : cases) {
    testing_support::FakeLinkPlatform platform;
    platform.port.portLine = "192.168.1.20:6001";
    c.setUp(platform.network);
    EXPECT_EQ(platform.StartTcp(), nullptr) << c.name;
    ASSERT_EQ(platform.ui.messages.size(), 1u) << c.name;
    EXPECT_EQ(platform.ui.messages[0].text, c.box) << c.name;
    EXPECT_EQ(platform.ui.messages[0].buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(platform.ui.errors, std::vector<std::string>{messages::kErrPortOpen}) << c.name;
    EXPECT_EQ(platform.network.cleanups, c.cleanups) << c.name;
    EXPECT_EQ(platform.network.closes, static_cast<int>(platform.network.created) -
                                           (platform.network.socketFailsAt != SIZE_MAX))
        << c.name << ": every socket made is closed";
  }
}

TEST_F(TcpLinkTest, TriesAddressesInOrderUntilOneAccepts) {
  platform_.network.connectResults = {false, false, true};
  std::unique_ptr<platform::TcpSocket> socket = ConnectTcp(platform_.network, platform_.ui, "192.168.1.20:6001");
  ASSERT_NE(socket, nullptr);
  EXPECT_EQ(platform_.network.resolvedHost, "192.168.1.20");
  EXPECT_EQ(platform_.network.resolvedService, "6001");
  EXPECT_EQ(platform_.network.closes, 2) << "refused sockets closed before the next address";
  EXPECT_EQ(platform_.network.lastSocket->receiveTimeouts, std::vector<uint32_t>{5000});
  EXPECT_EQ(platform_.network.cleanups, 0);
  EXPECT_TRUE(platform_.ui.messages.empty());
}

TEST_F(TcpLinkTest, StartUpSendsErrorModeAtOnceAndReleasesOnce) {
  platform_.network.printerScript = "\x04";
  std::unique_ptr<TcpLink> link = platform_.StartTcp();
  ASSERT_NE(link, nullptr);
  testing_support::FakeTcpSocket& socket = *platform_.network.lastSocket;
  EXPECT_EQ(socket.channel.writtenBytes, std::string("\x1bP0#e89\x1b\\\x05"));
  EXPECT_EQ(platform_.clock.Ticks(), 1000u) << "no pause before the first command";

  link->Close();
  link->Close();
  link.reset();
  EXPECT_EQ(platform_.network.cleanups, 1);
  EXPECT_EQ(platform_.network.closes, 1);
  EXPECT_EQ(platform_.network.startups, 1);
}

// Over TCP the steps keep the start-up's 5 s, the closing gets 30 s, a
// request and its reply are tried once without a pause and without a status
// request, and a refused opening is cancelled.
TEST_F(TcpLinkTest, TheTcpProcedure) {
  platform_.network.printerScript = "\x04";
  std::unique_ptr<TcpLink> link = platform_.StartTcp();
  ASSERT_NE(link, nullptr);
  testing_support::FakeTcpSocket& socket = *platform_.network.lastSocket;
  EXPECT_TRUE(link->BeginReceipt(3));
  EXPECT_TRUE(link->BeginPayout());
  EXPECT_TRUE(link->BeginCashState());
  EXPECT_EQ(socket.receiveTimeouts, std::vector<uint32_t>{5000});
  link->BeginClosing();
  EXPECT_EQ(socket.receiveTimeouts, (std::vector<uint32_t>{5000, 30000}));
  EXPECT_TRUE(link->CancelsRefusedOpening());

  socket.channel.writtenBytes.clear();
  const uint32_t before = platform_.clock.Ticks();
  EXPECT_TRUE(link->SendRequest("23#s"));
  EXPECT_EQ(socket.channel.writtenBytes, std::string("\x1bP23#sAE\x1b\\"));
  socket.channel.writtenBytes.clear();
  socket.channel.Send("\x1bPx\x1b\\");
  char reply[16];
  EXPECT_TRUE(link->ReceiveReply(reply, sizeof reply));
  EXPECT_STREQ(reply, "x");
  EXPECT_TRUE(socket.channel.writtenBytes.empty()) << "no status request after a reply";
  EXPECT_EQ(platform_.clock.Ticks() - before, 100u) << "only the frame's own pause before the reply";
  EXPECT_FALSE(link->ReceiveReply(reply, sizeof reply)) << "one try";
}

TEST_F(TcpLinkTest, SilentPrinterFailsOnceWithoutSecondTry) {
  std::unique_ptr<TcpLink> link = platform_.StartTcp();
  EXPECT_EQ(link, nullptr);
  EXPECT_EQ(platform_.ui.errors,
            std::vector<std::string>{messages::kErrPrinterComm + link_messages::kSuffixErrorMode});
  EXPECT_EQ(platform_.clock.Ticks() - 1000, 5000u) << "one empty read of the 5 s receive time";
  EXPECT_EQ(platform_.network.startups, 1);
  EXPECT_EQ(platform_.network.cleanups, 1);
  EXPECT_EQ(platform_.network.closes, 1);
}

}  // namespace
}  // namespace kvitra
