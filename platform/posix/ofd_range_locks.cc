// Range locks as open-file-description locks: they belong to the open file,
// not to the process, so two opens in one process exclude each other too, and
// they conflict with other processes' POSIX record locks (which is also what
// Samba turns its clients' byte-range locks into).
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/posix/system_error.h"
#include "platform/range_lock.h"

namespace platform {
namespace {

class OfdLockFile : public RangeLockFile {
 public:
  explicit OfdLockFile(int fd) : fd_(fd) {}
  ~OfdLockFile() override { ::close(fd_); }

  bool TryLock(uint64_t offset, uint64_t length) override { return Apply(F_WRLCK, offset, length); }
  Status Unlock(uint64_t offset, uint64_t length) override {
    return Apply(F_UNLCK, offset, length) ? Status() : posix::ErrnoStatus("unlock");
  }

 private:
  bool Apply(short type, uint64_t offset, uint64_t length) {
    struct flock range = {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = static_cast<off_t>(offset);
    range.l_len = static_cast<off_t>(length);
    range.l_pid = 0;  // required for open-file-description locks
    return ::fcntl(fd_, F_OFD_SETLK, &range) == 0;
  }

  int fd_;
};

class OfdRangeLocks : public RangeLocks {
 public:
  bool FileExists(const std::string& path) override {
    struct stat info;
    if (::stat(SystemFiles().ResolveName(path).c_str(), &info) == 0) return !S_ISDIR(info.st_mode);
    return errno != ENOENT && errno != ENOTDIR;
  }

  Result<std::unique_ptr<RangeLockFile>> Open(const std::string& path) override {
    const std::string name = SystemFiles().ResolveName(path);
    const int fd = ::open(name.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return posix::ErrnoStatus("open " + name);
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return posix::ErrnoStatus("open " + name, EINVAL);
    }
    return std::unique_ptr<RangeLockFile>(std::make_unique<OfdLockFile>(fd));
  }
};

}  // namespace

RangeLocks& SystemRangeLocks() {
  static OfdRangeLocks locks;
  return locks;
}

}  // namespace platform
