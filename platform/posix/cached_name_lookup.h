#pragma once
// Finds a file by its exact name, else without regard to ASCII letter case
// as the share's Windows clients do, at the cost of one stat of its directory
// on most of the job detection loop's 100 ms ticks: an answer is reused while
// the directory itself is unchanged (same inode, modification and change
// time) and younger than a second, since no entry can appear, vanish or be
// renamed without changing the directory. Two changes within one timestamp
// step look like one, so an answer is not reused while the directory's last
// change is recent; the age limit covers clocks that disagree (a directory
// on another machine).
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace platform::posix {

class CachedNameLookup {
 public:
  // Nothing when no name in the directory matches.
  using ListingLookup = std::function<std::optional<std::string>(const std::string& path)>;
  struct Clocks {
    std::function<int64_t()> monotonicMs;
    std::function<int64_t()> realTimeNs;  // the clock file times are stamped with
  };
  static constexpr int64_t kListingLifetimeMs = 1000;
  static constexpr int64_t kRecentChangeNs = 100'000'000;

  // `list` resolves a name by listing its directory.
  CachedNameLookup(ListingLookup list, Clocks clocks);
  // The exact name when it exists, else the name a listing finds, else nothing.
  std::optional<std::string> Find(const std::string& path);
  std::string Resolve(const std::string& path) { return Find(path).value_or(path); }

 private:
  struct DirectoryStamp {
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{}, changed{};
    bool operator==(const DirectoryStamp& other) const;
    int64_t LastChangeNs() const;
  };
  struct Listing {
    std::string path;
    std::optional<std::string> found;
    DirectoryStamp stamp;
    int64_t takenAtMs = 0;
  };
  static std::optional<DirectoryStamp> StampOf(const std::string& directory);

  ListingLookup list_;
  Clocks clocks_;
  std::optional<Listing> last_;
};

// The lookup over the system's files and monotonic clock.
CachedNameLookup& SystemCachedNameLookup();

}  // namespace platform::posix
