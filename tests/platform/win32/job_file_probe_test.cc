// Varden's view of the job file on Windows beyond the contract: file times to
// the 2-second step, the MS-DOS range, the read that denies writers.
#include "platform/job_file_probe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "tests/platform/win32/scratch_dir.h"

namespace {

using testing_support::OpenedElsewhere;
using testing_support::ScratchDir;

platform::JobFileProbe& probe = platform::SystemJobFileProbe();

// Sets the file's last-write time to the local time `local`.
bool SetLocalWriteTime(const std::string& path, const SYSTEMTIME& local) {
  FILETIME localTime{}, utc{};
  if (!::SystemTimeToFileTime(&local, &localTime) || !::LocalFileTimeToFileTime(&localTime, &utc)) return false;
  HANDLE file = ::CreateFileW(platform::win32::WideFromCp1250(path).c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool set = ::SetFileTime(file, nullptr, nullptr, &utc);
  ::CloseHandle(file);
  return set;
}

class Win32JobFileProbeTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  const std::string job = dir / "FAK_DANE.DAT";
  void SetUp() override {
    ASSERT_TRUE(platform::SystemFiles().ReplaceContents(job, std::string(40, 'j')).ok());
  }
};

TEST_F(Win32JobFileProbeTest, StatusGivesSizeAndTheLocalTimeInTwoSecondSteps) {
  ASSERT_TRUE(SetLocalWriteTime(job, {2021, 9, 1, 13, 10, 11, 29, 450}));
  platform::Result<platform::JobFileStatus> status = probe.Status(job);
  ASSERT_TRUE(status.ok());
  EXPECT_EQ(status->size, 40u);
  EXPECT_EQ(status->dosDateTime, platform::EncodeDosDateTime({2021, 9, 13, 10, 11, 28}));

  // The full resolution tells apart what the two-second steps do not.
  ASSERT_TRUE(SetLocalWriteTime(job, {2021, 9, 1, 13, 10, 11, 28, 450}));
  platform::Result<platform::JobFileStatus> earlier = probe.Status(job);
  ASSERT_TRUE(earlier.ok());
  EXPECT_EQ(earlier->dosDateTime, status->dosDateTime);
  EXPECT_EQ(status->modifiedNs - earlier->modifiedNs, 1'000'000'000);
}

TEST_F(Win32JobFileProbeTest, MomentsOutsideTheDosRangeHaveNoDosTime) {
  for (WORD year : {1979, 2108}) {
    ASSERT_TRUE(SetLocalWriteTime(job, {year, 6, 0, 15, 12, 0, 0, 0}));
    platform::Result<platform::JobFileStatus> status = probe.Status(job);
    ASSERT_TRUE(status.ok());
    EXPECT_EQ(status->dosDateTime, platform::kNoDosDateTime) << year;
  }
}

TEST_F(Win32JobFileProbeTest, ReadIsRefusedWhileSomebodyWritesTheFile) {
  {
    OpenedElsewhere host(job, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(host.ok());
    platform::Result<std::string> refused = probe.ReadPrefix(job, 64);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.status().systemCode(), ERROR_SHARING_VIOLATION) << refused.status().ToString();
  }
  {
    OpenedElsewhere reader(job, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader.ok());
    platform::Result<std::string> read = probe.ReadPrefix(job, 10);
    ASSERT_TRUE(read.ok()) << read.status().ToString();
    EXPECT_EQ(*read, std::string(10, 'j'));
  }
  EXPECT_FALSE(probe.ReadPrefix(dir.path(), 10).ok());
}

}  // namespace
