// Serial ports on Linux: termios line settings, an exclusive flock, and the
// COMMTIMEOUTS limits emulated with poll() around every read and write.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <optional>

#include "platform/comm_timeouts.h"
#include "platform/posix/serial_device_path.h"
#include "platform/posix/file_reading.h"
#include "platform/posix/system_error.h"
#include "platform/serial_port.h"

namespace platform {
namespace {

uint64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int PollTimeout(const std::optional<uint64_t>& left) {
  if (!left) return -1;
  return *left > static_cast<uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(*left);
}

enum class PollResult { Ready, TimedOut, Failed };

// Waits for `events` on fd; a hang-up or error condition counts as ready so
// that the following read or write reports it.
PollResult PollFor(int fd, short events, int timeoutMs) {
  pollfd entry{fd, events, 0};
  for (;;) {
    const int result = poll(&entry, 1, timeoutMs);
    if (result < 0 && errno == EINTR) continue;
    if (result < 0 || (entry.revents & POLLNVAL) != 0) return PollResult::Failed;
    return result == 0 ? PollResult::TimedOut : PollResult::Ready;
  }
}

std::optional<speed_t> SpeedConstant(int32_t baud) {
  struct Rate {
    int32_t baud;
    speed_t speed;
  };
  static constexpr Rate kRates[] = {
      {50, B50},           {75, B75},           {110, B110},         {134, B134},
      {150, B150},         {200, B200},         {300, B300},         {600, B600},
      {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
      {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
      {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
      {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
      {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
      {3500000, B3500000}, {4000000, B4000000},
  };
  for (const Rate& rate : kRates)
    if (rate.baud == baud) return rate.speed;
  return std::nullopt;
}

bool ConfigureLine(int fd, int32_t baudRate, bool xonXoff) {
  const std::optional<speed_t> speed = SpeedConstant(baudRate);
  if (!speed) return false;
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | ISTRIP | IGNBRK | BRKINT | PARMRK);
  tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  if (xonXoff) {
    tio.c_iflag |= IXON | IXOFF;
    tio.c_cc[VSTART] = 0x11;
    tio.c_cc[VSTOP] = 0x13;
  }
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  if (cfsetispeed(&tio, *speed) != 0 || cfsetospeed(&tio, *speed) != 0) return false;
  if (tcsetattr(fd, TCSANOW, &tio) != 0) return false;
  // Some drivers take a part of the settings only; read them back.
  termios applied{};
  if (tcgetattr(fd, &applied) != 0) return false;
  if (cfgetospeed(&applied) != *speed) return false;
  return true;
}

// DTR and RTS stay down while the port is open. A pseudo-terminal has no
// modem lines and refuses the request; that is no failure.
bool DropModemLines(int fd) {
  int lines = TIOCM_DTR | TIOCM_RTS;
  if (ioctl(fd, TIOCMBIC, &lines) == 0) return true;
  return errno == ENOTTY || errno == EINVAL;
}

class PosixSerialPort : public SerialPort {
 public:
  explicit PosixSerialPort(int fd) : fd_(fd) {}
  ~PosixSerialPort() override { close(fd_); }

  Status SetTimeouts(const CommTimeouts& timeouts) override {
    timeouts_ = timeouts;
    return Status();
  }

  Result<size_t> Write(const uint8_t* data, size_t size) override {
    size_t written = 0;
    const std::optional<uint64_t> limit = WriteLimitMs(timeouts_, size);
    const uint64_t start = NowMs();
    const int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || fcntl(fd_, F_SETFL, flags | O_NONBLOCK) < 0) return posix::ErrnoStatus("set up a write");
    int error = 0;
    while (written < size) {
      std::optional<uint64_t> left;
      if (limit) {
        const uint64_t spent = NowMs() - start;
        left = *limit > spent ? *limit - spent : 0;
      }
      const PollResult ready = PollFor(fd_, POLLOUT, PollTimeout(left));
      if (ready == PollResult::Failed) {
        error = errno;
        break;
      }
      if (ready == PollResult::TimedOut) break;  // time is up: a short write
      const ssize_t count = ::write(fd_, data + written, size - written);
      if (count < 0) {
        if (errno == EINTR || errno == EAGAIN) continue;
        error = errno;
        break;
      }
      written += static_cast<size_t>(count);
      if (left && *left == 0) break;
    }
    fcntl(fd_, F_SETFL, flags);
    if (error != 0) return posix::ErrnoStatus("write", error);
    return written;
  }

  Result<std::optional<uint8_t>> ReadByte() override {
    uint8_t byte = 0;
    const Result<size_t> received = Read(&byte, 1);
    if (!received) return received.status();
    return *received == 1 ? std::optional<uint8_t>(byte) : std::nullopt;
  }

 private:
  Result<size_t> Read(uint8_t* data, size_t size) {
    size_t received = 0;
    const ReadLimits limits = PlanRead(timeouts_, size);
    const uint64_t start = NowMs();
    uint64_t lastByte = start;
    while (received < size) {
      const uint64_t now = NowMs();
      const std::optional<uint64_t> left =
          ReadWaitLeft(limits, now - start, now - lastByte, received);
      const bool lastLook = left && *left == 0;
      const PollResult ready = PollFor(fd_, POLLIN, PollTimeout(left));
      if (ready == PollResult::Failed) return posix::ErrnoStatus("wait for a byte");
      if (ready == PollResult::TimedOut) {
        if (lastLook) break;
        continue;  // the next round works out whether time is up
      }
      const ssize_t count = ::read(fd_, data + received, size - received);
      if (count < 0) {
        if (errno == EINTR || errno == EAGAIN) continue;
        return posix::ErrnoStatus("read");
      }
      if (count == 0) return posix::ErrnoStatus("read", EIO);  // hang-up: nothing more will come
      received += static_cast<size_t>(count);
      lastByte = NowMs();
      if (lastLook) break;
    }
    return received;
  }

  int fd_;
  CommTimeouts timeouts_;
};

class PosixSerialPorts : public SerialPorts {
 public:
  Result<std::unique_ptr<SerialPort>> Open(const std::string& portName, int32_t baudRate,
                                           bool xonXoff) override {
    const std::string path = posix::SerialDevicePath(portName);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return posix::ErrnoStatus("open " + path);
    posix::Fd port(fd);
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return posix::ErrnoStatus("set up " + path);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return posix::ErrnoStatus("take " + path + " for this program alone");
    if (!isatty(fd)) return posix::ErrnoStatus("open " + path + " as a serial line", ENOTTY);
    // ConfigureLine fails with EINVAL for a rate the device cannot take.
    errno = EINVAL;
    if (!ConfigureLine(fd, baudRate, xonXoff)) return posix::ErrnoStatus("set the line of " + path);
    if (!DropModemLines(fd)) return posix::ErrnoStatus("drop DTR and RTS of " + path);
    port.Release();
    return std::unique_ptr<SerialPort>(std::make_unique<PosixSerialPort>(fd));
  }
};

}  // namespace

SerialPorts& SystemSerialPorts() {
  static PosixSerialPorts ports;
  return ports;
}

}  // namespace platform
