// Linux paths: how they are joined, and the levels a directory path is
// created by.
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

TEST(PosixPaths, DirectoryLevelsFromTheTopDown) {
  struct Case {
    const char* path;
    std::vector<std::string> levels;
  } cases[] = {
      {"/home/kasa/Documents/KVITRA", {"/home", "/home/kasa", "/home/kasa/Documents", "/home/kasa/Documents/KVITRA"}},
      {"/home/kasa/", {"/home", "/home/kasa"}},     // a trailing separator is ignored
      {"/home/kasa//", {"/home", "/home/kasa"}},
      {"/KVITRA", {"/KVITRA"}},
      {"/", {}},                                    // the root is never created
      {"", {}},
      {"//server/share/KVITRA", {"//server", "//server/share", "//server/share/KVITRA"}},
      {"a//b", {"a", "a//b"}},                      // a doubled separator names no level
      {"relative/dir", {"relative", "relative/dir"}},
  };
  for (const Case& c : cases) EXPECT_EQ(DirectoryLevels(c.path), c.levels) << c.path;
}

TEST(PosixPaths, JoinAndTrailingSeparator) {
  EXPECT_EQ(JoinPath("/opt/zembrano", "STAWE.DAT"), "/opt/zembrano/STAWE.DAT");
  EXPECT_EQ(JoinPath("/", "KVITRA"), "/KVITRA");
  EXPECT_EQ(JoinPath("", "KVITRA"), "/KVITRA");  // an unknown folder stands for the root
  EXPECT_EQ(JoinPath("jobs/", "FAK_DANE.DAT"), "jobs/FAK_DANE.DAT");
  EXPECT_EQ(WithoutTrailingSeparator("/srv/jobs/"), "/srv/jobs");
  EXPECT_EQ(WithoutTrailingSeparator("/srv/jobs//"), "/srv/jobs/");
  EXPECT_EQ(WithoutTrailingSeparator("/srv/jobs"), "/srv/jobs");
  EXPECT_EQ(WithoutTrailingSeparator("/"), "");
  EXPECT_EQ(PathSeparator(), '/');
  EXPECT_FALSE(IsPathSeparator('\\'));  // a backslash is part of a Linux name
}

}  // namespace
}  // namespace platform
