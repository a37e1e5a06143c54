// What Varden's Linux facilities do beyond the contract: descriptors kept
// from the child, signals, where the printer program is found, FIFOs, the
// cached directory listing.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/files.h"
#include "platform/job_file_probe.h"
#include "platform/posix/cached_name_lookup.h"
#include "platform/process_launcher.h"
#include "platform/range_lock.h"

namespace platform {
namespace {

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/varden-test-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(File(name), std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void WriteScript(const std::string& name, const std::string& body) const {
    Write(name, "#!/bin/sh\n" + body);
    ::chmod(File(name).c_str(), 0755);
  }

 private:
  std::string path_;
};

class SpawnLauncherTest : public ::testing::Test {
 protected:
  std::unique_ptr<ChildProcess> Start(const std::string& script, const std::string& workDir) {
    Result<std::unique_ptr<ChildProcess>> child =
        SystemProcessLauncher().Start({dir.File(script), workDir, {{"KVITRA_START_MINIMISED", "1"}}});
    EXPECT_TRUE(child.ok()) << child.status().ToString();
    return std::move(child).ValueOr(nullptr);
  }
  static bool WaitExited(ChildProcess& child, int ms) {
    for (int waited = 0; waited < ms; waited += 10) {
      if (child.HasExited()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return child.HasExited();
  }

  TempDir dir;
};

TEST_F(SpawnLauncherTest, ChildGetsItsPathAsItsOnlyArgument) {
  dir.WriteScript("kvitra", "echo \"$#|$0\" > out.txt\n");
  auto child = Start("kvitra", dir.path());
  ASSERT_TRUE(WaitExited(*child, 5000));
  EXPECT_EQ(dir.Read("out.txt"), "0|" + dir.File("kvitra") + "\n");
}

TEST_F(SpawnLauncherTest, DescriptorsOpenedCloseOnExecStayWithVarden) {
  dir.Write("looku.dat", "");
  auto lock = SystemRangeLocks().Open(dir.File("looku.dat")).ValueOr(nullptr);
  ASSERT_TRUE(lock && lock->TryLock(0, 4));
  dir.WriteScript("kvitra", "ls -l /proc/$$/fd > fds.txt\n");
  auto child = Start("kvitra", dir.path());
  ASSERT_TRUE(WaitExited(*child, 5000));
  EXPECT_EQ(dir.Read("fds.txt").find("looku.dat"), std::string::npos);
}

TEST_F(SpawnLauncherTest, CrashByASignalCounts128PlusItsNumber) {
  dir.WriteScript("kvitra", "kill -SEGV $$\n");
  auto child = Start("kvitra", dir.path());
  ASSERT_TRUE(WaitExited(*child, 5000));
  EXPECT_EQ(child->ExitCode(), 128 + SIGSEGV);
}

TEST(PrinterProgramPathTest, EnvironmentVariableOrBesideTheRunningProgram) {
  ::setenv("KVITRA_PROGRAM", "/usr/local/bin/kvitra", 1);
  EXPECT_EQ(PrinterProgramPath("/srv/jobs"), "/usr/local/bin/kvitra");
  ::unsetenv("KVITRA_PROGRAM");
  char exe[4096] = {};
  ASSERT_GT(::readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  std::string expected = exe;
  expected = expected.substr(0, expected.rfind('/')) + "/kvitra";
  EXPECT_EQ(PrinterProgramPath("/srv/jobs"), expected);
}

TEST(JobFileProbeTest, AFifoInThePlaceOfTheJobIsNotReadAndDoesNotBlock) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("FAK_DANE.DAT").c_str(), 0644), 0);
  EXPECT_FALSE(SystemJobFileProbe().ReadPrefix(dir.File("FAK_DANE.DAT"), 64).ok());
}

// The loop looks the job file up ten times a second; the directory is listed
// again only when it changed, when its change is too recent to tell apart
// from the next one, or when the last listing is a second old.
TEST(CachedNameLookupTest, ListsAgainOnlyWhenTheDirectoryChangedOrTheListingIsOld) {
  TempDir dir;
  int listings = 0;
  int64_t monotonicMs = 0, realTimeAheadNs = 5'000'000'000;
  posix::CachedNameLookup lookup(
      [&](const std::string& path) {
        ++listings;
        const std::string resolved = SystemFiles().ResolveName(path);
        return resolved == path ? std::nullopt : std::optional<std::string>(resolved);
      },
      {[&] { return monotonicMs; },
       [&] {
         timespec now{};
         clock_gettime(CLOCK_REALTIME, &now);
         return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec + realTimeAheadNs;
       }});
  const std::string job = dir.File("FAK_DANE.DAT");

  EXPECT_EQ(lookup.Find(job), std::nullopt);
  EXPECT_EQ(lookup.Resolve(job), job);
  EXPECT_EQ(listings, 1);
  monotonicMs += posix::CachedNameLookup::kListingLifetimeMs;
  EXPECT_EQ(lookup.Resolve(job), job);
  EXPECT_EQ(listings, 2);

  dir.Write("fak_dane.dat", "job");
  EXPECT_EQ(lookup.Resolve(job), dir.File("fak_dane.dat"));
  EXPECT_EQ(lookup.Resolve(job), dir.File("fak_dane.dat"));
  EXPECT_EQ(listings, 3);

  // A change just made may share its timestamp with the next one.
  realTimeAheadNs = 0;
  ::unlink(dir.File("fak_dane.dat").c_str());
  EXPECT_EQ(lookup.Resolve(job), job);
  EXPECT_EQ(lookup.Resolve(job), job);
  EXPECT_EQ(listings, 5);

  dir.Write("FAK_DANE.DAT", "job");
  EXPECT_EQ(lookup.Resolve(job), job);
  EXPECT_EQ(listings, 5);

  // A file found by its exact name is not taken as still there once it is gone.
  realTimeAheadNs = 5'000'000'000;
  EXPECT_EQ(lookup.Find(job), job);
  ::unlink(job.c_str());
  EXPECT_EQ(lookup.Find(job), std::nullopt);
  EXPECT_EQ(listings, 6);
}

}  // namespace
}  // namespace platform
