#include "platform/posix/file_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/posix/system_error.h"

namespace platform::posix {

void Fd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

int OpenRegularForRead(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    errno = error;
    return -1;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

Result<size_t> ReadSome(int fd, char* buffer, size_t size, const std::string& path) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno != EINTR) return ErrnoStatus("read " + path);
  }
}

Result<std::string> ReadPrefixOf(const std::string& path, size_t maxBytes) {
  Fd fd(OpenRegularForRead(path));
  if (fd.get() < 0) return ErrnoStatus("open " + path);
  std::string out;
  char buffer[4096];
  while (out.size() < maxBytes) {
    const Result<size_t> got = ReadSome(fd.get(), buffer, std::min(sizeof buffer, maxBytes - out.size()), path);
    if (!got) return got.status();
    if (*got == 0) break;
    out.append(buffer, *got);
  }
  return out;
}

}  // namespace platform::posix
