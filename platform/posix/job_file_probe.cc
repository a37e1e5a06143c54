#include "platform/job_file_probe.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <boost/filesystem.hpp>

#include "platform/posix/cached_name_lookup.h"
#include "platform/posix/file_reading.h"
#include "platform/posix/local_time.h"
#include "platform/posix/system_error.h"

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

  Result<JobFileStatus> Status(const std::string& path) override {
    const std::string name = Resolved(path);
    JobFileStatus status;
    boost::system::error_code error;
    status.size = boost::filesystem::file_size(boost::filesystem::path(name), error);
    if (error) return posix::ErrnoStatus("size of " + name, error.value());
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

  Result<std::string> ReadPrefix(const std::string& path, size_t maxBytes) override {
    return posix::ReadPrefixOf(Resolved(path), maxBytes);
  }

  platform::Status Remove(const std::string& path) override {
    const std::string name = Resolved(path);
    return ::unlink(name.c_str()) == 0 ? platform::Status() : posix::ErrnoStatus("remove " + name);
  }
};

}  // namespace

JobFileProbe& SystemJobFileProbe() {
  static PosixJobFileProbe probe;
  return probe;
}

}  // namespace platform
