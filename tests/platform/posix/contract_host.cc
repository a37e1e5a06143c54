// The contract tests' host on Linux: /tmp directories, forked processes,
// shell scripts as child programs, a pseudo-terminal as the serial line.
#include "tests/platform/contract_host.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace contract {

const Capabilities& SystemCapabilities() {
  static const Capabilities capabilities{.shareModes = false, .exclusiveSerialOpen = true};
  return capabilities;
}

ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/kvitra-contract-XXXXXX";
  path_ = ::mkdtemp(pattern);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::operator/(const std::string& name) const { return path_ + "/" + name; }

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void RenameFile(const std::string& from, const std::string& to) { ::rename(from.c_str(), to.c_str()); }

size_t EntryCount(const std::string& dir) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++count;
  return count;
}

std::unique_ptr<Holder> HoldOpen(const std::string&, bool) { return nullptr; }

bool OtherPartyIsRefusedLock(const std::string& path, unsigned offset, unsigned length) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open(path.c_str(), O_RDWR);
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = off_t(offset);
    range.l_len = off_t(length);
    ::_exit(fd >= 0 && ::fcntl(fd, F_SETLK, &range) == 0 ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

namespace {

std::string ScriptBody(ChildBehaviour behaviour) {
  switch (behaviour) {
    case ChildBehaviour::Report:
      return "printf '%s\\n%s\\n' \"$(pwd)\" \"$CONTRACT_VALUE\" > report.txt\nexit 3\n";
    case ChildBehaviour::HonoursClose:
      return "echo ready > ready.txt\nsleep 30 & wait\n";
    case ChildBehaviour::IgnoresClose:
      return "trap '' TERM\necho ready > ready.txt\nwhile :; do sleep 1; done\n";
  }
  return "exit 1\n";
}

}  // namespace

platform::LaunchRequest ChildLaunch(ChildBehaviour behaviour, const ScratchDir& dir,
                                    const std::string& workingDirectory, const std::string& value) {
  const std::string program = dir / "child.sh";
  WriteFile(program, "#!/bin/sh\n" + ScriptBody(behaviour));
  ::chmod(program.c_str(), 0755);
  return {program, workingDirectory, {{"CONTRACT_VALUE", value}}};
}

std::string AsChildSeesIt(const std::string& dir) { return dir; }

namespace {

class PtyPeer : public SerialPeer {
 public:
  PtyPeer(int master, int slave, std::string name) : master_(master), slave_(slave), name_(std::move(name)) {}
  ~PtyPeer() override {
    ::close(slave_);
    ::close(master_);
  }
  std::string PortName() const override { return name_; }
  void Send(const std::string& bytes) override { (void)!::write(master_, bytes.data(), bytes.size()); }

 private:
  int master_;
  int slave_;  // kept open so that the master never sees a hang-up
  std::string name_;
};

}  // namespace

std::unique_ptr<SerialPeer> OpenSerialPeer() {
  int master = -1, slave = -1;
  char name[128];
  if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) return nullptr;
  return std::make_unique<PtyPeer>(master, slave, name);
}

std::string MissingPortName() { return "\\\\.\\/nonexistent/tty"; }

namespace {

int BoundLoopbackSocket(uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

// Connections complete in the kernel's backlog; nothing needs to accept them.
class LoopbackListener : public TcpListener {
 public:
  LoopbackListener() : fd_(BoundLoopbackSocket(port_)) { ::listen(fd_, 4); }
  ~LoopbackListener() override { ::close(fd_); }
  std::string Port() const override { return std::to_string(port_); }

 private:
  uint16_t port_ = 0;
  int fd_;
};

}  // namespace

std::unique_ptr<TcpListener> ListenOnLoopback() { return std::make_unique<LoopbackListener>(); }

std::string ClosedLoopbackPort() {
  uint16_t port = 0;
  ::close(BoundLoopbackSocket(port));
  return std::to_string(port);
}

int FamilyNotSupportedCode() { return EAFNOSUPPORT; }

}  // namespace contract

namespace contract {

namespace {

// The user's registry file under a configuration folder of the test's own:
// XDG_CONFIG_HOME points there for as long as the key lives.
class RegFileSettingsKey : public OwnSettingsKey {
 public:
  RegFileSettingsKey() {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldConfigHome_ = old;
    ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
  }
  ~RegFileSettingsKey() override {
    if (oldConfigHome_)
      ::setenv("XDG_CONFIG_HOME", oldConfigHome_->c_str(), 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
  }
  std::string Path() const override { return "SOFTWARE\\KvitraTest\\Run"; }
  bool Exists() override { return ReadFile(File()).find("[HKEY_CURRENT_USER\\" + Path() + "]") != std::string::npos; }
  void Store(const std::string& name, platform::ValueType type, const std::vector<uint8_t>& data) override {
    lines_ += "\"" + name + "\"=" + DataText(type, data) + "\r\n";
    std::filesystem::create_directories(dir_ / "NORVEL");
    WriteFile(File(), "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + Path() + "]\r\n" + lines_);
  }

 private:
  std::string File() const { return dir_ / "NORVEL/PrnSetup.reg"; }
  static std::string DataText(platform::ValueType type, const std::vector<uint8_t>& data) {
    char hex[4];
    if (type == platform::ValueType::Dword && data.size() == 4) {
      char text[16];
      std::snprintf(text, sizeof text, "dword:%02x%02x%02x%02x", data[3], data[2], data[1], data[0]);
      return text;
    }
    std::string out = type == platform::ValueType::String         ? "hex(1):"
                      : type == platform::ValueType::ExpandString ? "hex(2):"
                                                                  : "hex:";
    for (size_t i = 0; i < data.size(); ++i) {
      std::snprintf(hex, sizeof hex, "%02x", data[i]);
      out += (i > 0 ? "," : "") + std::string(hex);
    }
    return out;
  }

  ScratchDir dir_;
  std::optional<std::string> oldConfigHome_;
  std::string lines_;
};

}  // namespace

std::unique_ptr<OwnSettingsKey> MakeOwnSettingsKey() { return std::make_unique<RegFileSettingsKey>(); }

bool RequestTerminationOfThisProcess() { return ::kill(::getpid(), SIGTERM) == 0; }

bool IsReady(const platform::WaitableEvent& event, int milliseconds) {
  pollfd watched{static_cast<int>(event.NativeHandle()), POLLIN, 0};
  return ::poll(&watched, 1, milliseconds) == 1;
}

}  // namespace contract
