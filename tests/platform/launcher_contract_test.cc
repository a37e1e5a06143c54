// The process launcher against child programs of the test's own.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process_launcher.h"
#include "tests/platform/contract_host.h"

namespace platform {
namespace {

using contract::ChildBehaviour;
using contract::ReadFile;
using contract::ScratchDir;

// A first window under Wine may wait for its desktop process to start.
constexpr int kReadyMs = 60000;

bool WaitUntil(const std::function<bool()>& done, int ms) {
  for (int waited = 0; waited < ms; waited += 10) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

class LauncherContract : public ::testing::Test {
 protected:
  std::unique_ptr<ChildProcess> Start(ChildBehaviour behaviour, const std::string& workDir) {
    Result<std::unique_ptr<ChildProcess>> child =
        SystemProcessLauncher().Start(contract::ChildLaunch(behaviour, dir_, workDir, "1"));
    EXPECT_TRUE(child.ok()) << child.status().ToString();
    return std::move(child).ValueOr(nullptr);
  }
  bool Ready() const {
    const std::string text = ReadFile(dir_ / "ready.txt");
    return text != "<missing>" && !text.empty();
  }

  ScratchDir dir_;
};

TEST_F(LauncherContract, ChildRunsInItsDirectoryWithTheExtraVariableAndGivesItsExitCode) {
  const std::string jobDir = dir_ / "my jobs";
  ASSERT_TRUE(SystemFiles().MakeDirectory(jobDir).ok());
  auto child = Start(ChildBehaviour::Report, jobDir + PathSeparator());
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return child->HasExited(); }, 10000));
  EXPECT_EQ(child->ExitCode(), contract::kReportExitCode);
  const std::string report = ReadFile(JoinPath(jobDir, "report.txt"));
  EXPECT_EQ(report.substr(0, report.find('\n')), contract::AsChildSeesIt(jobDir));
  EXPECT_NE(report.find("\n1\n"), std::string::npos) << report;
}

TEST_F(LauncherContract, CloseRequestEndsAChildThatHonoursIt) {
  auto child = Start(ChildBehaviour::HonoursClose, dir_.path());
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Ready(); }, kReadyMs));
  EXPECT_FALSE(child->HasExited());
  child->RequestClose();
  EXPECT_TRUE(WaitUntil([&] { return child->HasExited(); }, 10000));
}

TEST_F(LauncherContract, ChildThatIgnoresTheCloseRequestIsKilledWithCodeZero) {
  auto child = Start(ChildBehaviour::IgnoresClose, dir_.path());
  ASSERT_NE(child, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Ready(); }, kReadyMs));
  child->RequestClose();
  EXPECT_FALSE(WaitUntil([&] { return child->HasExited(); }, 300));
  child->Kill();
  EXPECT_TRUE(child->HasExited());
  EXPECT_EQ(child->ExitCode(), 0);
}

TEST_F(LauncherContract, ProgramThatCannotStartGivesTheSystemText) {
  const Result<std::unique_ptr<ChildProcess>> missing = SystemProcessLauncher().Start({dir_ / "missing", dir_.path(), {}});
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.status().systemCode(), 2) << "not found, on both systems";
  EXPECT_FALSE(missing.status().systemText().empty());
  LaunchRequest request = contract::ChildLaunch(ChildBehaviour::Report, dir_, dir_ / "no such dir", "1");
  const Result<std::unique_ptr<ChildProcess>> noDirectory = SystemProcessLauncher().Start(request);
  ASSERT_FALSE(noDirectory.ok());
  EXPECT_FALSE(noDirectory.status().systemText().empty());
}

}  // namespace
}  // namespace platform
