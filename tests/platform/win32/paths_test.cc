#include "platform/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Levels = std::vector<std::string>;

TEST(Win32Paths, DirectoryLevelsLeaveOutDriveRootsAndStartNetworkPathsAtTheServer) {
  struct Case {
    std::string path;
    Levels levels;
  };
  const Case cases[] = {
      {"C:\\Users\\kasa\\Documents\\KVITRA",
       {"C:\\Users", "C:\\Users\\kasa", "C:\\Users\\kasa\\Documents", "C:\\Users\\kasa\\Documents\\KVITRA"}},
      {"C:\\Users\\", {"C:\\Users"}},
      {"C:\\", {}},
      {"C:", {}},
      {"\\KVITRA", {"\\KVITRA"}},
      {"\\\\server\\share\\KVITRA", {"\\\\server", "\\\\server\\share", "\\\\server\\share\\KVITRA"}},
      {"C:/Users/kasa", {"C:/Users", "C:/Users/kasa"}},
      {"C:\\a\\\\b", {"C:\\a", "C:\\a\\\\b"}},
      {"KVITRA\\2021", {"KVITRA", "KVITRA\\2021"}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::DirectoryLevels(c.path), c.levels) << c.path;
}

TEST(Win32Paths, JoinWritesBackslashesAndTakesEitherSeparatorAsAnEnd) {
  EXPECT_EQ(platform::PathSeparator(), '\\');
  EXPECT_EQ(platform::JoinPath("C:\\ZEMBRANO", "PORT.CFG"), "C:\\ZEMBRANO\\PORT.CFG");
  EXPECT_EQ(platform::JoinPath("C:\\", "FAK_DANE.DAT"), "C:\\FAK_DANE.DAT");
  EXPECT_EQ(platform::JoinPath("C:/jobs/", "FAK_DANE.DAT"), "C:/jobs/FAK_DANE.DAT");
  EXPECT_EQ(platform::JoinPath("", "KVITRA"), "\\KVITRA");
  EXPECT_EQ(platform::WithoutTrailingSeparator("D:\\JOBS\\"), "D:\\JOBS");
  EXPECT_EQ(platform::WithoutTrailingSeparator("D:\\JOBS\\\\"), "D:\\JOBS\\");
  EXPECT_EQ(platform::WithoutTrailingSeparator("D:/JOBS/"), "D:/JOBS");
  EXPECT_EQ(platform::WithoutTrailingSeparator("C:\\"), "C:");
}

}  // namespace
