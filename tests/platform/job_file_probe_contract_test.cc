// The job-file probe: lookup in any letter case, size and times, bounded
// reading, removal.
#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/job_file_probe.h"
#include "tests/platform/contract_host.h"

namespace platform {
namespace {

using contract::ScratchDir;

TEST(JobFileProbeContract, StatusReadAndRemovalOfAJobNamedInAnotherCase) {
  ScratchDir dir;
  JobFileProbe& probe = SystemJobFileProbe();
  const std::string job = dir / "FAK_DANE.DAT";
  EXPECT_FALSE(probe.FileExists(job));
  EXPECT_FALSE(probe.Status(job));
  EXPECT_TRUE(probe.DirectoryExists(dir.path()));
  EXPECT_FALSE(probe.DirectoryExists(job));

  const LocalDateTime before = SystemClock().Now();
  contract::WriteFile(dir / "fak_dane.dat", std::string(100, 'x'));  // as a host may name it
  ASSERT_TRUE(probe.FileExists(job));
  EXPECT_FALSE(probe.DirectoryExists(dir / "fak_dane.dat"));
  const auto status = probe.Status(job);
  ASSERT_TRUE(status);
  EXPECT_EQ(status->size, 100u);
  EXPECT_GT(status->modifiedNs, int64_t(1577836800) * 1000000000);  // after 2020
  // Written a moment ago: the same local day and hour, unless the hour just turned.
  const uint32_t expected = EncodeDosDateTime(before);
  EXPECT_EQ(status->dosDateTime >> 16, expected >> 16);
  EXPECT_LE((status->dosDateTime >> 11) - (expected >> 11), 1u);

  const Result<std::string> text = probe.ReadPrefix(job, 64);
  ASSERT_TRUE(text.ok());
  EXPECT_EQ(*text, std::string(64, 'x'));
  EXPECT_TRUE(probe.Remove(job).ok());
  EXPECT_FALSE(probe.FileExists(job));
  EXPECT_FALSE(probe.Remove(job).ok());
  EXPECT_EQ(probe.ReadPrefix(job, 64).status().systemCode(), 2) << "not found, on both systems";
}

TEST(JobFileProbeContract, ADirectoryInThePlaceOfTheJobIsNoJob) {
  ScratchDir dir;
  JobFileProbe& probe = SystemJobFileProbe();
  ASSERT_TRUE(SystemFiles().MakeDirectory(dir / "FAK_DANE.DAT").ok());
  EXPECT_FALSE(probe.FileExists(dir / "FAK_DANE.DAT"));
  EXPECT_FALSE(probe.ReadPrefix(dir / "FAK_DANE.DAT", 64).ok());
}

}  // namespace
}  // namespace platform
