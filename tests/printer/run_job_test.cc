#include "printer/run_job.h"

#include <gtest/gtest.h>

#include "printer/messages.h"
#include "tests/support/fake_link_platform.h"

namespace kvitra {
namespace {

// Whatever the fiscal job does with the link, the job run closes it exactly once.
class RunJobTest : public ::testing::Test {
 protected:
  testing_support::FakeLinkPlatform platform_;
};

TEST_F(RunJobTest, SerialLinkClosedOnceAfterTheJob) {
  platform_.files.Put("PORT.CFG", "COM3\r\n");
  platform_.serialPorts.AddPort().Send("\x04");
  RunJob(platform_.Platform(), platform_.ui, platform_.settings);
  ASSERT_EQ(platform_.serialPorts.openings.size(), 1u);
  EXPECT_EQ(platform_.serialPorts.openings[0].name, "\\\\.\\COM3");
  EXPECT_EQ(platform_.serialPorts.closes, 1);
}

TEST_F(RunJobTest, NetworkAddressRunsTheJobOverTcpAndReleasesOnce) {
  platform_.files.Put("PORT.CFG", "192.168.1.20:6001\r\n");
  platform_.network.printerScript = "\x04";
  RunJob(platform_.Platform(), platform_.ui, platform_.settings);
  EXPECT_TRUE(platform_.serialPorts.openings.empty());
  EXPECT_EQ(platform_.network.resolvedHost, "192.168.1.20");
  EXPECT_EQ(platform_.network.resolvedService, "6001");
  EXPECT_EQ(platform_.network.startups, 1);
  EXPECT_EQ(platform_.network.cleanups, 1);
  EXPECT_EQ(platform_.network.closes, 1);
}

TEST_F(RunJobTest, FailuresBeforeTheLinkIsUpEndWithZero) {
  EXPECT_EQ(RunJob(platform_.Platform(), platform_.ui, platform_.settings), 0);  // no PORT.CFG
  EXPECT_EQ(platform_.ui.errors, std::vector<std::string>{messages::kErrPortConfig});
  EXPECT_TRUE(platform_.serialPorts.openings.empty());

  platform_.files.Put("PORT.CFG", "COM1\r\n");
  EXPECT_EQ(RunJob(platform_.Platform(), platform_.ui, platform_.settings), 0);  // the port cannot be opened
  EXPECT_EQ(platform_.ui.LastError(), messages::kErrPortOpen);

  platform_.files.Put("PORT.CFG", "10.0.0.1:6001\r\n");
  platform_.network.connectResults = {false};
  EXPECT_EQ(RunJob(platform_.Platform(), platform_.ui, platform_.settings), 0);
  EXPECT_EQ(platform_.ui.LastError(), messages::kErrPortOpen);
  EXPECT_EQ(platform_.network.cleanups, 1);
}

}  // namespace
}  // namespace kvitra
