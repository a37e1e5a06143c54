#include "platform/job_file_probe.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <boost/filesystem.hpp>

#include "platform/posix/cached_name_lookup.h"
#include "platform/posix/local_time.h"

namespace platform {
namespace {

uint32_t LocalDosDateTime(time_t seconds) {
  LocalDateTime local;
  return posix::ToLocalDateTime(seconds, local) ? EncodeDosDateTime(local) : kNoDosDateTime;
}

std::string Resolved(const std::string& path) { return posix::SystemCachedNameLookup().Resolve(path); }

class PosixJobFileProbe : public JobFileProbe {
 public:
  bool FileExists(const std::string& path) override {
    const std::optional<std::string> name = posix::SystemCachedNameLookup().Find(path);
    struct stat info;
    return name && ::stat(name->c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }

  bool DirectoryExists(const std::string& path) override {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  std::optional<JobFileStatus> Status(const std::string& path) override {
    const std::string name = Resolved(path);
    JobFileStatus status;
    boost::system::error_code error;
    status.size = boost::filesystem::file_size(boost::filesystem::path(name), error);
    if (error) return std::nullopt;
    struct stat info;
    if (::stat(name.c_str(), &info) != 0) {
      status.modifiedNs = -1;
      status.dosDateTime = kNoDosDateTime;
      return status;
    }
    status.modifiedNs = int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    status.dosDateTime = LocalDosDateTime(info.st_mtim.tv_sec);
    return status;
  }

  bool ReadPrefix(const std::string& path, size_t maxBytes, std::string& out) override {
    out.clear();
    // Non-blocking, so that a FIFO put in the job file's place cannot stall
    // the loop; only regular files are read.
    const int fd = ::open(Resolved(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    out.resize(ok ? maxBytes : 0);
    size_t filled = 0;
    while (ok && filled < maxBytes) {
      const ssize_t got = ::read(fd, out.data() + filled, maxBytes - filled);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) ok = false;
      if (got <= 0) break;
      filled += static_cast<size_t>(got);
    }
    ::close(fd);
    out.resize(ok ? filled : 0);
    return ok;
  }

  bool Remove(const std::string& path) override { return ::unlink(Resolved(path).c_str()) == 0; }
};

}  // namespace

JobFileProbe& SystemJobFileProbe() {
  static PosixJobFileProbe probe;
  return probe;
}

}  // namespace platform
