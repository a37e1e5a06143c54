// The thermal-sim program itself: started on TCP port 0 and on a
// pseudo-terminal, talked to as the printer link would, stopped by SIGTERM.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/sim/frame_helpers.h"

namespace {

using sim_test::Frame;
using namespace std::chrono_literals;

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Reads from fd until `count` bytes came or `limit` passed.
std::string ReadBytes(int fd, size_t count, std::chrono::milliseconds limit = 2000ms) {
  std::string bytes;
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (bytes.size() < count) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[256];
    ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - bytes.size()));
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
}

// thermal-sim as a child process, its first line read from a pipe.
class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> arguments) {
    char pattern[] = "/tmp/sim-test.XXXXXX";
    dir = mkdtemp(pattern);
    logPath = dir + "/sim.log";
    receiptsPath = dir + "/receipts.txt";
    const char* program = std::getenv("THERMAL_SIM_BIN");
    arguments.insert(arguments.begin(), {program ? program : "thermal-sim", "--log", logPath, "--receipts", receiptsPath});
    int out[2];
    if (pipe(out) != 0) return;
    pid = fork();
    if (pid == 0) {
      dup2(out[1], 1);
      close(out[0]);
      std::vector<char*> argv;
      for (std::string& a : arguments) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    stdoutFd = out[0];
    std::string line;
    while (line.find('\n') == std::string::npos) {
      std::string more = ReadBytes(stdoutFd, 1, 5000ms);
      if (more.empty()) break;
      line += more;
    }
    firstLine = line.substr(0, line.find('\n'));
  }

  ~SimProcess() {
    if (pid > 0 && !stopped) Stop();
    if (stdoutFd >= 0) close(stdoutFd);
    std::system(("rm -rf " + dir).c_str());
  }

  // SIGTERM; the exit status, or -1 when it did not end within 3 s.
  int Stop() {
    stopped = true;
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      std::this_thread::sleep_for(10ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }

  std::string Log() { return ReadWholeFile(logPath); }

  std::string dir, logPath, receiptsPath, firstLine;
  pid_t pid = -1;
  int stdoutFd = -1;
  bool stopped = false;
};

void Write(int fd, const std::string& bytes) {
  ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

const std::string kAccept = "\x64";

// A one-position receipt and its cash information, over any line.
void PrintOneReceipt(int fd, const std::string& expectedNumber) {
  for (const std::string command : {"0#e", "1$h", "1$lOp\x92" "ata\r1\rE/2.00/2.00/", "1;0$eA07\r2.00/2.00/"}) {
    Write(fd, Frame(command));
    EXPECT_EQ(ReadBytes(fd, 1), kAccept) << command;
  }
  Write(fd, Frame("23#s", false));
  std::string reply = ReadBytes(fd, 64, 500ms);
  ASSERT_GE(reply.size(), 6u);
  EXPECT_EQ(reply.substr(0, 2), "\x1bP");
  EXPECT_EQ(reply.substr(reply.size() - 2), "\x1b\\");
  std::string payload = reply.substr(2, reply.size() - 6);
  EXPECT_EQ(reply.substr(reply.size() - 4, 2), sim_test::ChecksumOf(payload));
  size_t ninth = 0;
  for (int slash = 0; slash < 8; ++slash) ninth = payload.find('/', ninth) + 1;
  EXPECT_EQ(payload.substr(ninth, payload.find('/', ninth) - ninth), expectedNumber) << payload;
  Write(fd, "\x05");
  EXPECT_EQ(ReadBytes(fd, 1), kAccept);
}

int ConnectTo(const std::string& address) {
  size_t colon = address.rfind(':');
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(static_cast<uint16_t>(std::stoi(address.substr(colon + 1))));
  inet_pton(AF_INET, address.substr(0, colon).c_str(), &peer.sin_addr);
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

TEST(SimProcess, WireFileKeepsEveryByteReceived) {
  char pattern[] = "/tmp/sim-wire.XXXXXX";
  const std::string wire = std::string(mkdtemp(pattern)) + "/wire";
  SimProcess sim({"--tcp", "127.0.0.1:0", "--wire", wire});
  int fd = ConnectTo(sim.firstLine.substr(std::string("listening tcp ").size()));
  ASSERT_GE(fd, 0);
  // A frame with ENQ, bytes between frames, a frame with a bad checksum, a stray ENQ.
  const std::string sent = Frame("0#e") + "\r\n\xff" + "\x1bP0#tXX\x1b\\" + "\x05";
  Write(fd, sent);
  ReadBytes(fd, 3, 1000ms);
  close(fd);
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_EQ(ReadWholeFile(wire), sent);
  std::system(("rm -rf " + std::string(pattern)).c_str());
}

TEST(SimProcess, TcpServesConnectionsOneAfterAnother) {
  SimProcess sim({"--tcp", "127.0.0.1:0", "--first-receipt", "41", "--drop-after", "6"});
  ASSERT_EQ(sim.firstLine.rfind("listening tcp 127.0.0.1:", 0), 0u) << sim.firstLine;
  std::string address = sim.firstLine.substr(std::string("listening tcp ").size());

  int first = ConnectTo(address);
  ASSERT_GE(first, 0);
  PrintOneReceipt(first, "41");
  Write(first, Frame("0#t"));  // frame 6: answered, then the connection is closed
  EXPECT_EQ(ReadBytes(first, 1), kAccept);
  EXPECT_EQ(ReadBytes(first, 1, 1000ms), "");
  close(first);

  int second = ConnectTo(address);
  ASSERT_GE(second, 0);
  PrintOneReceipt(second, "42");
  close(second);

  EXPECT_EQ(sim.Stop(), 0);
  std::string log = sim.Log();
  EXPECT_NE(log.find("RECEIPT n=41 printed"), std::string::npos) << log;
  EXPECT_NE(log.find("RECEIPT n=42 printed"), std::string::npos) << log;
  EXPECT_NE(log.find("CONNECTION n=1 closed frames=6 dropped"), std::string::npos) << log;
  EXPECT_NE(ReadWholeFile(sim.receiptsPath).find("Opłata"), std::string::npos);  // Mazovia by default
}

TEST(SimProcess, FaultsFileIsReadForEveryConnection) {
  char pattern[] = "/tmp/sim-faults.XXXXXX";
  std::string dir = mkdtemp(pattern);
  std::string faultsFile = dir + "/faults";
  SimProcess sim({"--tcp", "127.0.0.1:0", "--faults-file", faultsFile, "--refuse", "0#t"});
  std::string address = sim.firstLine.substr(std::string("listening tcp ").size());
  auto firstAnswers = [&]() {
    int fd = ConnectTo(address);
    std::string answers;
    for (const char* command : {"0#e", "0#t"}) {
      Write(fd, Frame(command));
      answers += ReadBytes(fd, 1);
    }
    close(fd);
    std::this_thread::sleep_for(50ms);
    return answers;
  };
  const std::string kRefuse = "\x60";
  EXPECT_EQ(firstAnswers(), kAccept + kRefuse);  // no file: the command line's faults
  std::ofstream(faultsFile) << "--refuse-frame 1\n";
  EXPECT_EQ(firstAnswers(), kRefuse + kAccept);  // the file replaces them
  std::ofstream(faultsFile) << "--refuse-frame zero\n";
  EXPECT_EQ(firstAnswers(), kAccept + kRefuse);  // a bad file is ignored
  EXPECT_EQ(sim.Stop(), 0);
  EXPECT_NE(sim.Log().find("FAULTS file " + faultsFile + " ignored"), std::string::npos) << sim.Log();
  std::system(("rm -rf " + dir).c_str());
}

TEST(SimProcess, DelayHoldsEveryAnswerBack) {
  SimProcess sim({"--tcp", "127.0.0.1:0", "--delay", "300"});
  int fd = ConnectTo(sim.firstLine.substr(std::string("listening tcp ").size()));
  ASSERT_GE(fd, 0);
  auto start = std::chrono::steady_clock::now();
  Write(fd, Frame("0#e"));
  EXPECT_EQ(ReadBytes(fd, 1), kAccept);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 290ms);
  close(fd);
  EXPECT_EQ(sim.Stop(), 0);
}

int OpenLine(const std::string& path) {
  int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) return -1;
  termios settings{};
  tcgetattr(fd, &settings);
  cfmakeraw(&settings);
  tcsetattr(fd, TCSANOW, &settings);
  return fd;
}

TEST(SimProcess, PseudoTerminalKeepsServingAndRemovesItsLink) {
  char pattern[] = "/tmp/sim-pty.XXXXXX";
  std::string dir = mkdtemp(pattern);
  std::string link = dir + "/printer";
  {
    SimProcess sim({"--pty", link, "--drop-after", "7", "--count-frames", "run"});
    ASSERT_EQ(sim.firstLine.rfind("listening pty " + link + " -> /dev/pts/", 0), 0u) << sim.firstLine;
    std::string firstTarget = sim.firstLine.substr(sim.firstLine.find("-> ") + 3);

    int line = OpenLine(link);
    ASSERT_GE(line, 0);
    PrintOneReceipt(line, "1");  // frames 1 to 5
    close(line);
    std::this_thread::sleep_for(200ms);  // long enough for the simulator to see the line without a client

    // A client that closed and comes back is served again; frame 7 drops the line.
    line = OpenLine(link);
    ASSERT_GE(line, 0);
    Write(line, Frame("0#e"));
    EXPECT_EQ(ReadBytes(line, 1), kAccept);
    Write(line, Frame("0#t"));
    EXPECT_EQ(ReadBytes(line, 1), kAccept);
    EXPECT_EQ(ReadBytes(line, 1, 1000ms), "");  // the line is gone
    close(line);

    // The link now names a new pseudo-terminal that works.
    char target[128] = {};
    for (int i = 0; i < 100; ++i) {
      ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
      if (n > 0 && std::string(target, static_cast<size_t>(n)) != firstTarget) break;
      std::this_thread::sleep_for(10ms);
    }
    line = OpenLine(link);
    ASSERT_GE(line, 0);
    Write(line, Frame("0#e"));
    EXPECT_EQ(ReadBytes(line, 1), kAccept);
    close(line);

    EXPECT_EQ(sim.Stop(), 0);
    std::string log = sim.Log();
    EXPECT_NE(log.find("RECEIPT n=1 printed"), std::string::npos) << log;
    EXPECT_NE(log.find("DROP conn=2 after frame 7"), std::string::npos) << log;
    EXPECT_NE(log.find("FRAME n=8 conn=3"), std::string::npos) << log;
  }
  struct stat info {};
  EXPECT_NE(lstat(link.c_str(), &info), 0);  // removed at exit
  rmdir(dir.c_str());
}

}  // namespace
