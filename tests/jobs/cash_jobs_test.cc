#include <gtest/gtest.h>

#include "common/job_directory_files.h"
#include "tests/jobs/job_fixture.h"

namespace {

using jobs_test::JobTest;

const std::vector<std::string> kPayoutJob = {"XY1", "2024-03-15", "12345/2024", "A01", "1", "10",
                                             "Fee", "100.00", "11", "Fee 2", "50.00", "  150.00 "};

TEST_F(JobTest, PayoutSendsTheTotalAndOpensTheDrawer) {
  settings.port.openDrawer = true;
  WriteJob(kPayoutJob);  // no tax line: the payout never reads it
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(link.Commands(), (std::vector<std::string>{"0#d150.00/", "1$d"}));
  EXPECT_TRUE(link.sent[0].wantStatus);
  EXPECT_FALSE(link.sent[1].wantStatus);
  EXPECT_EQ(link.events.front(), "begin payout") << "the link's limits are set before the first command";
  EXPECT_TRUE(ui.errors.empty());
  ExpectCleanEnd();
}

TEST_F(JobTest, PayoutWithoutDrawer) {
  WriteJob(kPayoutJob);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(link.Commands(), std::vector<std::string>{"0#d150.00/"});
}

TEST_F(JobTest, DailyReportSendsTodaysDateWithoutStatus) {
  clock.SetNow({2025, 1, 5, 8, 30, 0, 0});
  files.Put(job_directory::kJobFileName, "XY2\r\n");
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(link.Commands(), std::vector<std::string>{"1;25;01;05#r"});
  EXPECT_FALSE(link.sent[0].wantStatus);
  EXPECT_EQ(link.events.front(), "send 1;25;01;05#r") << "no step limits for the report";
  ExpectCleanEnd();
}

TEST_F(JobTest, AnyOtherThirdCharacterIsTheCashState) {
  for (const char* header : {"XY3", "XY9", "XYZ", "XY3/0 ignored"}) {
    SCOPED_TRACE(header);
    link = testing_support::FakePrinterLink(&clock);
    files.Put(job_directory::kJobFileName, std::string(header) + "\r\nnot a job body");
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(link.Commands(), std::vector<std::string>{"0#t"});
    EXPECT_TRUE(link.sent[0].wantStatus);
    EXPECT_EQ(link.events.front(), "begin cash state");
    ExpectCleanEnd();
  }
}

}  // namespace
