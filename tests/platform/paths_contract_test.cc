// Paths as the system writes them: joining, the trailing separator.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/paths.h"

namespace platform {
namespace {

TEST(PathsContract, JoinPutsOneSeparatorBetween) {
  const std::string sep(1, PathSeparator());
  EXPECT_TRUE(IsPathSeparator(PathSeparator()));
  EXPECT_EQ(JoinPath("jobs", "FAK_DANE.DAT"), "jobs" + sep + "FAK_DANE.DAT");
  EXPECT_EQ(JoinPath("jobs" + sep, "FAK_DANE.DAT"), "jobs" + sep + "FAK_DANE.DAT");
  EXPECT_EQ(WithoutTrailingSeparator("jobs" + sep), "jobs");
  EXPECT_EQ(WithoutTrailingSeparator("jobs" + sep + sep), "jobs" + sep);
  EXPECT_EQ(WithoutTrailingSeparator("jobs"), "jobs");
}

TEST(PathsContract, LevelsRunFromTheTopDownAndIgnoreATrailingSeparator) {
  const std::string sep(1, PathSeparator());
  const std::string path = "a" + sep + "b" + sep + "c";
  const std::vector<std::string> levels = {"a", "a" + sep + "b", path};
  EXPECT_EQ(DirectoryLevels(path), levels);
  EXPECT_EQ(DirectoryLevels(path + sep), levels);
  EXPECT_TRUE(DirectoryLevels("").empty());
}

}  // namespace
}  // namespace platform
