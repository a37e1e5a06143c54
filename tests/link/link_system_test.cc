// The serial and TCP links against the real operating system: a
// pseudo-terminal with a small printer on its master side, and loopback TCP.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "printer/link/link_messages.h"
#include "printer/link/serial_link.h"
#include "printer/link/tcp_link.h"
#include "printer/messages.h"
#include "tests/support/fake_link_platform.h"

namespace kvitra {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

class SteadyClock : public platform::Clock {
 public:
  uint32_t Ticks() override {
    return static_cast<uint32_t>(std::chrono::duration_cast<milliseconds>(
                                     steady_clock::now().time_since_epoch())
                                     .count());
  }
  void Sleep(uint32_t ms) override { std::this_thread::sleep_for(milliseconds(ms)); }
  platform::LocalDateTime Now() override { return {}; }
};

// The far end of a byte stream acting as a printer: records every byte and
// answers each ENQ with a status byte unless told to stay silent.
class Peer {
 public:
  explicit Peer(bool answers) : answers_(answers) {}
  ~Peer() { Stop(); }

  void Run(int fd) {
    fd_ = fd;
    thread_ = std::thread([this] { Loop(); });
  }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  void Send(const std::string& bytes) {
    ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  std::string Received() {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
  }

 private:
  void Loop() {
    while (!stop_) {
      pollfd entry{fd_, POLLIN, 0};
      if (poll(&entry, 1, 20) <= 0) continue;
      char buffer[256];
      const ssize_t count = ::read(fd_, buffer, sizeof buffer);
      if (count <= 0) {
        std::this_thread::sleep_for(milliseconds(5));
        continue;
      }
      std::lock_guard<std::mutex> lock(mutex_);
      for (ssize_t i = 0; i < count; ++i) {
        received_ += buffer[i];
        if (buffer[i] == '\x05' && answers_) (void)!::write(fd_, "\x04", 1);
      }
    }
  }

  bool answers_;
  int fd_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::string received_;
};

const std::string kErrorModeFrame = std::string("\x1bP0#e89\x1b\\\x05");

// Serial ---------------------------------------------------------------------

class PtyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[128];
    ASSERT_EQ(openpty(&master_, &slave_, name, nullptr, nullptr), 0);
    path_ = name;
    port_.portLine = path_;
  }
  void TearDown() override {
    close(slave_);
    close(master_);
  }
  std::string DrainMaster() {
    std::string bytes;
    char buffer[256];
    pollfd entry{master_, POLLIN, 0};
    while (poll(&entry, 1, 50) > 0) {
      const ssize_t count = ::read(master_, buffer, sizeof buffer);
      if (count <= 0) break;
      bytes.append(buffer, static_cast<size_t>(count));
    }
    return bytes;
  }

  int master_ = -1;
  int slave_ = -1;  // kept open so that the master never sees a hang-up
  std::string path_;
  SteadyClock clock_;
  testing_support::RecordingUi ui_;
  testing_support::VirtualClock virtual_;
  PortConfig port_;
  PrinterSettings settings_;
  std::unique_ptr<SerialLink> Start(platform::SerialPorts& ports = platform::SystemSerialPorts()) {
    return StartSerialLink(ports, clock_, ui_, port_, settings_);
  }
};

TEST_F(PtyTest, FramesArriveIntactAndFlowControlBytesAreData) {
  Peer printer(true);
  printer.Run(master_);
  std::unique_ptr<SerialLink> link = Start();
  ASSERT_NE(link, nullptr) << ui_.LastError();
  EXPECT_TRUE(link->SendFrame("1$d", false));

  printer.Send("\x1bP1\x11/\x13\x1b\\");
  char reply[64];
  ASSERT_TRUE(link->ReceiveReply(reply, sizeof reply));
  EXPECT_EQ(std::string(reply), "1\x11/\x13") << "DC1 and DC3 are data without XON/XOFF";
  link->Close();
  printer.Stop();
  EXPECT_EQ(printer.Received(), kErrorModeFrame + "\x1bP1$d8E\x1b\\" + "\x05");
}

TEST_F(PtyTest, XonXoffTakesFlowControlBytesOutOfTheData) {
  settings_.xonXoff = true;
  Peer printer(true);
  printer.Run(master_);
  std::unique_ptr<SerialLink> link = Start();
  ASSERT_NE(link, nullptr);
  printer.Send("\x1bPa\x13\x11" "b\x1b\\");
  char reply[64];
  ASSERT_TRUE(link->ReceiveReply(reply, sizeof reply));
  EXPECT_EQ(std::string(reply), "ab");
}

// Records the openings of the real ports.
class CountingPorts : public platform::SerialPorts {
 public:
  explicit CountingPorts(platform::Clock& clock) : clock_(clock) {}
  platform::Result<std::unique_ptr<platform::SerialPort>> Open(const std::string& name, int32_t baud,
                                                               bool xonXoff) override {
    ticks.push_back(clock_.Ticks());
    return platform::SystemSerialPorts().Open(name, baud, xonXoff);
  }
  std::vector<uint32_t> ticks;

 private:
  platform::Clock& clock_;
};

TEST_F(PtyTest, PortHeldByAnotherProgramFailsAfterTwoOpenings) {
  const int holder = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
  CountingPorts ports(virtual_);
  EXPECT_EQ(StartSerialLink(ports, virtual_, ui_, port_, settings_), nullptr);
  ASSERT_EQ(ports.ticks.size(), 2u);
  EXPECT_EQ(ports.ticks[1] - ports.ticks[0], 500u);
  EXPECT_EQ(ui_.errors, std::vector<std::string>{messages::kErrPortOpen});
  EXPECT_EQ(DrainMaster(), "") << "no frame sent";
  close(holder);
}

TEST_F(PtyTest, SilentPrinterFailsAfterTwoStartUpsInAboutTwelveSeconds) {
  const auto start = steady_clock::now();
  EXPECT_EQ(Start(), nullptr);
  const auto spent = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start).count();
  EXPECT_EQ(ui_.errors,
            std::vector<std::string>{messages::kErrPrinterComm + link_messages::kSuffixErrorMode});
  EXPECT_GE(spent, 11500);
  EXPECT_LE(spent, 14000);
  EXPECT_EQ(DrainMaster(), kErrorModeFrame + kErrorModeFrame);
}

// TCP ------------------------------------------------------------------------

class LoopbackTest : public ::testing::Test {
 protected:
  // A listening socket on 127.0.0.1; returns its port.
  int Listen() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(::listen(listener_, 4), 0);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
  }
  void Accept(Peer& printer) {
    accepter_ = std::thread([this, &printer] {
      pollfd entry{listener_, POLLIN, 0};
      if (poll(&entry, 1, 10000) <= 0) return;  // the link never connected
      connection_ = ::accept(listener_, nullptr, nullptr);
      if (connection_ >= 0) printer.Run(connection_);
    });
  }
  void TearDown() override {
    if (accepter_.joinable()) accepter_.join();
    answering_.Stop();
    silent_.Stop();
    if (connection_ >= 0) close(connection_);
    if (listener_ >= 0) close(listener_);
  }
  std::vector<std::string> Boxes() {
    std::vector<std::string> texts;
    for (const auto& m : ui_.messages) texts.push_back(m.text);
    return texts;
  }

  // Owned here so that TearDown has joined the accepting thread before they go.
  Peer answering_{true};
  Peer silent_{false};
  int listener_ = -1;
  int connection_ = -1;
  std::thread accepter_;
  SteadyClock clock_;
  testing_support::RecordingUi ui_;
  PortConfig port_;
  std::unique_ptr<TcpLink> Start() { return StartTcpLink(platform::SystemTcpNetwork(), clock_, ui_, port_.portLine); }
};

TEST_F(LoopbackTest, ServiceCutToFiveCharactersReachesThePrinter) {
  const int port = Listen();
  ASSERT_GE(port, 10000) << "the test appends a digit to a five-digit port";
  Peer& printer = answering_;
  Accept(printer);
  port_.portLine = "127.0.0.1:" + std::to_string(port) + "7";
  std::unique_ptr<TcpLink> link = Start();
  ASSERT_NE(link, nullptr) << ui_.LastError();
  EXPECT_TRUE(link->SendFrame("1$d", false));
  if (accepter_.joinable()) accepter_.join();
  link->Close();
  std::this_thread::sleep_for(milliseconds(50));
  printer.Stop();
  EXPECT_EQ(printer.Received(), kErrorModeFrame + "\x1bP1$d8E\x1b\\");
  EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(LoopbackTest, RefusedConnectionShowsBoxThenPortMessage) {
  const int port = Listen();
  close(listener_);
  listener_ = -1;
  port_.portLine = "127.0.0.1:" + std::to_string(port);
  EXPECT_EQ(Start(), nullptr);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Unable to connect to server!"});
  EXPECT_EQ(ui_.errors, std::vector<std::string>{messages::kErrPortOpen});
}

TEST_F(LoopbackTest, PrinterThatNeverAnswersFailsAfterAboutFiveSeconds) {
  const int port = Listen();
  Peer& printer = silent_;
  Accept(printer);
  port_.portLine = "127.0.0.1:" + std::to_string(port);
  const auto start = steady_clock::now();
  EXPECT_EQ(Start(), nullptr);
  const auto spent = std::chrono::duration_cast<milliseconds>(steady_clock::now() - start).count();
  EXPECT_EQ(ui_.errors,
            std::vector<std::string>{messages::kErrPrinterComm + link_messages::kSuffixErrorMode});
  EXPECT_GE(spent, 4900);
  EXPECT_LE(spent, 6500);
  if (accepter_.joinable()) accepter_.join();
  printer.Stop();
  EXPECT_EQ(printer.Received(), kErrorModeFrame);
}

}  // namespace
}  // namespace kvitra
