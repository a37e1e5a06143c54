// Change notifications: a file written and closed, or renamed into place, in
// a watched directory is reported under its name, the last report saying its
// writer is done; a directory that is not there cannot be watched.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "platform/directory_changes.h"
#include "tests/platform/contract_host.h"

namespace contract {
namespace {

using platform::FileChangeKind;

// The kind of the last change reported for `name` once the reports have
// stopped for a moment; nullopt when none came within five seconds.
std::optional<FileChangeKind> LastChangeOf(platform::DirectoryWatch& watch, const std::string& name) {
  std::optional<FileChangeKind> last;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    if (!IsReady(watch.Changes(), last ? 200 : 100)) {
      if (last) break;
      continue;
    }
    std::vector<platform::FileChange> changes;
    EXPECT_TRUE(watch.TakeChanges(changes));
    watch.Changes().Acknowledge();
    for (const auto& change : changes)
      if (change.name == name) last = change.kind;
  }
  return last;
}

bool WriterDone(std::optional<FileChangeKind> kind) {
  return kind == FileChangeKind::Finished || kind == FileChangeKind::Changed;
}

TEST(DirectoryChangesContract, AFileWrittenAndClosedIsReportedWithItsWriterDone) {
  ScratchDir dir;
  auto watch = platform::SystemDirectoryWatches().Watch(dir.path()).ValueOr(nullptr);
  ASSERT_NE(watch, nullptr);
  EXPECT_FALSE(IsReady(watch->Changes(), 0));
  WriteFile(dir / "FAK_DANE.DAT", "1\r\nPARAGON\r\n");
  EXPECT_TRUE(WriterDone(LastChangeOf(*watch, "FAK_DANE.DAT")));
}

TEST(DirectoryChangesContract, AFileRenamedIntoPlaceIsReportedWithItsWriterDone) {
  ScratchDir dir;
  WriteFile(dir / "job.tmp", "1\r\nPARAGON\r\n");
  auto watch = platform::SystemDirectoryWatches().Watch(dir.path()).ValueOr(nullptr);
  ASSERT_NE(watch, nullptr);
  RenameFile(dir / "job.tmp", dir / "FAK_DANE.DAT");
  EXPECT_TRUE(WriterDone(LastChangeOf(*watch, "FAK_DANE.DAT")));
}

TEST(DirectoryChangesContract, AMissingDirectoryCannotBeWatched) {
  ScratchDir dir;
  EXPECT_EQ(platform::SystemDirectoryWatches().Watch(dir / "missing").status().systemCode(), 2) << "not found";
  WriteFile(dir / "file", "x");
  EXPECT_FALSE(platform::SystemDirectoryWatches().Watch(dir / "file").ok()) << "a file is no directory";
}

}  // namespace
}  // namespace contract
