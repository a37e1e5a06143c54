#include "platform/posix/cached_name_lookup.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/files.h"

namespace platform::posix {
namespace {

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

int64_t Nanoseconds(const timespec& t) { return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec; }

int64_t ClockNs(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return Nanoseconds(now);
}

// The case-insensitive match of a listing. It is asked only after the exact
// name was not there, so a name that resolves to itself was not found (one
// that appeared meanwhile changed the directory and is found next time).
std::optional<std::string> ListingFind(const std::string& path) {
  const std::string resolved = SystemFiles().ResolveName(path);
  if (resolved == path) return std::nullopt;
  return resolved;
}

}  // namespace

bool CachedNameLookup::DirectoryStamp::operator==(const DirectoryStamp& other) const {
  return device == other.device && inode == other.inode && SameTime(modified, other.modified) &&
         SameTime(changed, other.changed);
}

int64_t CachedNameLookup::DirectoryStamp::LastChangeNs() const {
  return std::max(Nanoseconds(modified), Nanoseconds(changed));
}

CachedNameLookup::CachedNameLookup(ListingLookup list, Clocks clocks)
    : list_(std::move(list)), clocks_(std::move(clocks)) {}

std::optional<CachedNameLookup::DirectoryStamp> CachedNameLookup::StampOf(const std::string& directory) {
  struct stat info {};
  if (::stat(directory.c_str(), &info) != 0) return std::nullopt;
  return DirectoryStamp{info.st_dev, info.st_ino, info.st_mtim, info.st_ctim};
}

std::optional<std::string> CachedNameLookup::Find(const std::string& path) {
  if (path.empty()) return path;
  // The stamp is taken before the lookup, so a change made meanwhile shows as
  // a different stamp next time. An unchanged directory needs no other call.
  const std::optional<DirectoryStamp> stamp = StampOf(DirectoryOf(path));
  const int64_t now = clocks_.monotonicMs();
  if (stamp && last_ && last_->path == path && last_->stamp == *stamp && now - last_->takenAtMs < kListingLifetimeMs)
    return last_->found;
  struct stat info {};
  std::optional<std::string> found = ::lstat(path.c_str(), &info) == 0 ? path : list_(path);
  if (stamp && clocks_.realTimeNs() - stamp->LastChangeNs() >= kRecentChangeNs)
    last_ = Listing{path, found, *stamp, now};
  else
    last_.reset();
  return found;
}

CachedNameLookup& SystemCachedNameLookup() {
  static CachedNameLookup lookup(ListingFind,
                                 {[] { return ClockNs(CLOCK_MONOTONIC) / 1000000; },
                                  [] { return ClockNs(CLOCK_REALTIME); }});
  return lookup;
}

}  // namespace platform::posix
