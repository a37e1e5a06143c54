// Directory watches through inotify. The events of the last path component
// only are asked for: a write (IN_MODIFY, IN_CREATE), its end (IN_CLOSE_WRITE,
// IN_MOVED_TO) and a removal (IN_DELETE, IN_MOVED_FROM). The descriptor is
// non-blocking; TakeChanges reads what is there and never waits.
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/directory_changes.h"
#include "platform/posix/system_error.h"

namespace platform {
namespace {

constexpr uint32_t kWatchedEvents =
    IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_DELETE_SELF | IN_MOVE_SELF;
// Room for at least one event with the longest name; a call takes at most
// one buffer's worth, the rest is left for the next call.
constexpr size_t kReadBufferSize = 16 * (sizeof(inotify_event) + NAME_MAX + 1);

class InotifyEvent : public WaitableEvent {
 public:
  explicit InotifyEvent(int fd) : fd_(fd) {}
  std::intptr_t NativeHandle() const override { return fd_; }
  // The descriptor stays readable until its events are taken.
  void Acknowledge() override {}

 private:
  int fd_;
};

FileChangeKind KindOf(uint32_t mask) {
  if (mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) return FileChangeKind::Finished;
  if (mask & (IN_DELETE | IN_MOVED_FROM)) return FileChangeKind::Gone;
  return FileChangeKind::Writing;
}

class InotifyWatch : public DirectoryWatch {
 public:
  explicit InotifyWatch(int fd) : fd_(fd), event_(fd) {}
  ~InotifyWatch() override { ::close(fd_); }
  WaitableEvent& Changes() override { return event_; }

  bool TakeChanges(std::vector<FileChange>& changes) override {
    alignas(inotify_event) char buffer[kReadBufferSize];
    const ssize_t got = ::read(fd_, buffer, sizeof buffer);
    if (got < 0) return errno == EAGAIN || errno == EINTR;
    bool complete = true;
    for (size_t offset = 0; offset + sizeof(inotify_event) <= size_t(got);) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
      offset += sizeof(inotify_event) + event->len;
      if (event->mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
        complete = false;
        continue;
      }
      if (event->len == 0) continue;  // the directory itself
      changes.push_back({std::string(event->name, ::strnlen(event->name, event->len)), KindOf(event->mask)});
    }
    return complete;
  }

 private:
  int fd_;
  InotifyEvent event_;
};

class InotifyDirectoryWatches : public DirectoryWatches {
 public:
  Result<std::unique_ptr<DirectoryWatch>> Watch(const std::string& directory) override {
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return posix::ErrnoStatus("inotify_init1");
    if (::inotify_add_watch(fd, directory.c_str(), kWatchedEvents | IN_ONLYDIR) < 0) {
      const Status failed = posix::ErrnoStatus("watch " + directory);
      ::close(fd);
      return failed;
    }
    return std::unique_ptr<DirectoryWatch>(std::make_unique<InotifyWatch>(fd));
  }
};

}  // namespace

DirectoryWatches& SystemDirectoryWatches() {
  static InotifyDirectoryWatches watches;
  return watches;
}

}  // namespace platform
