// Files on Linux. Names are matched as Windows matches them (exact first, then
// ASCII case-insensitively in the same directory); copies and replacements go
// through a temporary file in the target's directory so that they appear
// complete or not at all.
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/posix/file_reading.h"
#include "platform/posix/system_error.h"

namespace platform {
namespace {

using posix::ErrnoStatus;
using posix::Fd;
using posix::OpenRegularForRead;

constexpr size_t kCopyChunk = 64 * 1024;

struct SplitPath {
  std::string dir;   // "." for a bare name
  std::string name;  // last component
  std::string prefix;  // what goes before the name when rebuilding the path
};

SplitPath Split(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path, ""};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1), path.substr(0, slash + 1)};
}

// A short write (a full disk) fails with ENOSPC.
bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = ENOSPC;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

void SyncDirectory(const std::string& dir) {
  int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A temporary file beside `target`, hidden, removed on destruction unless kept.
class TempFile {
 public:
  explicit TempFile(const SplitPath& target) {
    path_ = target.prefix + "." + target.name + ".XXXXXX";
    fd_ = mkostemp(path_.data(), O_CLOEXEC);
  }
  ~TempFile() {
    if (fd_ >= 0) close(fd_);
    if (!kept_) unlink(path_.c_str());
  }
  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // Flushes to disk and closes; false when either fails.
  bool Finish() {
    bool ok = fsync(fd_) == 0;
    ok = close(fd_) == 0 && ok;
    fd_ = -1;
    return ok;
  }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  int fd_ = -1;
  bool kept_ = false;
};

class PosixInputFile : public InputFile {
 public:
  PosixInputFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  Result<size_t> Read(char* buffer, size_t size) override {
    return posix::ReadSome(fd_.get(), buffer, size, path_);
  }

 private:
  Fd fd_;
  std::string path_;
};

// Puts the new name in place only if nothing has that name yet.
bool PlaceNoReplace(const std::string& from, const std::string& to) {
  if (link(from.c_str(), to.c_str()) == 0) return true;
  if (errno == EEXIST) return false;
  // File systems without hard links (FAT, some network mounts).
  return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

class PosixFiles : public Files {
 public:
  std::string ResolveName(const std::string& path) override {
    struct stat st {};
    if (path.empty() || lstat(path.c_str(), &st) == 0) return path;
    SplitPath split = Split(path);
    if (split.name.empty()) return path;
    DIR* dir = opendir(split.dir.c_str());
    if (!dir) return path;
    // Of several matches the smallest name wins, so the choice does not
    // depend on the directory's order.
    std::string best;
    while (dirent* entry = readdir(dir)) {
      if (SameNameIgnoringAsciiCase(entry->d_name, split.name) && (best.empty() || best > entry->d_name))
        best = entry->d_name;
    }
    closedir(dir);
    return best.empty() ? path : split.prefix + best;
  }

  bool FileExists(const std::string& path) override {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
  }

  bool DirectoryExists(const std::string& path) override {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  Result<std::unique_ptr<InputFile>> OpenRead(const std::string& path) override {
    int fd = OpenRegularForRead(path);
    if (fd < 0) return ErrnoStatus("open " + path);
    return std::unique_ptr<InputFile>(std::make_unique<PosixInputFile>(fd, path));
  }

  Result<std::string> ReadPrefix(const std::string& path, size_t maxBytes) override {
    return posix::ReadPrefixOf(path, maxBytes);
  }

  Status CopyNoReplace(const std::string& from, const std::string& to) override {
    struct stat st {};
    if (lstat(to.c_str(), &st) == 0) return ErrnoStatus("copy to " + to, EEXIST);
    Fd source(OpenRegularForRead(from));
    if (source.get() < 0 || fstat(source.get(), &st) != 0) return ErrnoStatus("open " + from);
    TempFile temp(Split(to));
    if (!temp.ok()) return ErrnoStatus("create a temporary file beside " + to);
    char buffer[kCopyChunk];
    for (;;) {
      const Result<size_t> n = posix::ReadSome(source.get(), buffer, sizeof buffer, from);
      if (!n) return n.status();
      if (*n == 0) break;
      if (!WriteAll(temp.fd(), buffer, *n)) return ErrnoStatus("write " + temp.path());
    }
    fchmod(temp.fd(), st.st_mode & 0777);
    if (!temp.Finish()) return ErrnoStatus("flush " + temp.path());
    const bool placed = PlaceNoReplace(temp.path(), to);
    const int placeError = errno;
    SyncDirectory(Split(to).dir);
    return placed ? Status() : ErrnoStatus("put " + to + " in place", placeError);
  }

  Status MakeDirectory(const std::string& path) override {
    return mkdir(path.c_str(), 0777) == 0 ? Status() : ErrnoStatus("make directory " + path);
  }

  Status ReplaceContents(const std::string& path, const std::string& bytes) override {
    SplitPath split = Split(path);
    struct stat old {};
    bool exists = stat(path.c_str(), &old) == 0;
    // A file the user may not write is not replaced, as on a system that
    // writes in place; a directory of that name cannot be replaced either.
    if (exists && S_ISDIR(old.st_mode))
      return ErrnoStatus("replace " + path, EISDIR, FailureKind::CreateFailed);
    if (exists && access(path.c_str(), W_OK) != 0)
      return ErrnoStatus("replace " + path, errno, FailureKind::CreateFailed);
    TempFile temp(split);
    if (!temp.ok()) return ErrnoStatus("create a temporary file beside " + path, errno, FailureKind::CreateFailed);
    if (exists) {
      fchmod(temp.fd(), old.st_mode & 07777);
    } else {
      mode_t mask = umask(0);
      umask(mask);
      fchmod(temp.fd(), 0666 & ~mask);
    }
    if (!WriteAll(temp.fd(), bytes.data(), bytes.size()))
      return ErrnoStatus("write " + temp.path(), errno, FailureKind::WriteFailed);
    if (!temp.Finish()) return ErrnoStatus("flush " + temp.path(), errno, FailureKind::WriteFailed);
    // The old contents stay in place until this one step.
    if (rename(temp.path().c_str(), path.c_str()) != 0)
      return ErrnoStatus("rename over " + path, errno, FailureKind::CreateFailed);
    temp.Keep();
    SyncDirectory(split.dir);
    return Status();
  }
};

}  // namespace

Files& SystemFiles() {
  static PosixFiles files;
  return files;
}

}  // namespace platform
