// What inotify adds to the contract: a file written through one open reports
// its writer busy until the close, however long it pauses; a queue that
// overflows says that changes were lost.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/directory_changes.h"
#include "tests/platform/contract_host.h"

namespace platform {
namespace {

std::vector<FileChange> TakeReady(DirectoryWatch& watch, bool& complete) {
  std::vector<FileChange> changes;
  complete = true;
  pollfd ready{static_cast<int>(watch.Changes().NativeHandle()), POLLIN, 0};
  while (::poll(&ready, 1, 50) == 1) complete = watch.TakeChanges(changes) && complete;
  return changes;
}

std::optional<FileChangeKind> LastFor(const std::vector<FileChange>& changes, const std::string& name) {
  std::optional<FileChangeKind> last;
  for (const auto& change : changes)
    if (change.name == name) last = change.kind;
  return last;
}

TEST(InotifyWatch, AWriterIsBusyUntilItClosesTheFile) {
  contract::ScratchDir dir;
  auto watch = SystemDirectoryWatches().Watch(dir.path()).ValueOr(nullptr);
  ASSERT_NE(watch, nullptr);
  const int fd = ::open((dir / "FAK_DANE.DAT").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  bool complete = false;
  for (const char* piece : {"1\r\nPARAGON\r\n", "POZYCJA;CHLEB\r\n", "KONIEC\r\n"}) {
    ASSERT_EQ(::write(fd, piece, std::char_traits<char>::length(piece)), ssize_t(std::char_traits<char>::length(piece)));
    EXPECT_EQ(LastFor(TakeReady(*watch, complete), "FAK_DANE.DAT"), FileChangeKind::Writing);
    EXPECT_TRUE(complete);
  }
  ::close(fd);
  EXPECT_EQ(LastFor(TakeReady(*watch, complete), "FAK_DANE.DAT"), FileChangeKind::Finished);
  ::unlink((dir / "FAK_DANE.DAT").c_str());
  EXPECT_EQ(LastFor(TakeReady(*watch, complete), "FAK_DANE.DAT"), FileChangeKind::Gone);
}

TEST(InotifyWatch, AnOverflowedQueueSaysChangesWereLost) {
  contract::ScratchDir dir;
  auto watch = SystemDirectoryWatches().Watch(dir.path()).ValueOr(nullptr);
  ASSERT_NE(watch, nullptr);
  // More events than the kernel queues for one watch (16384 by default);
  // each open-write-close of a new name is two or three events.
  for (int i = 0; i < 12000; ++i) contract::WriteFile(dir / ("f" + std::to_string(i)), "x");
  bool complete = true;
  TakeReady(*watch, complete);
  EXPECT_FALSE(complete);
}

}  // namespace
}  // namespace platform
