// The CreateProcessW launcher against a helper program of the test's own,
// started as KVITRA.EXE from a job directory.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/process_launcher.h"
#include "platform/win32/child_environment.h"
#include "platform/win32/system_error_text.h"
#include "tests/platform/win32/scratch_dir.h"

namespace platform {
namespace {

using testing_support::Contents;
using testing_support::ScratchDir;

std::filesystem::path HelperProgram() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path() / "launch_helper.exe";
}

// Wine starts its desktop process with the first window of a new prefix,
// which can take many seconds on a busy machine.
constexpr int kFirstWindowMs = 60000;

bool WaitUntil(const std::function<bool()>& done, int ms) {
  for (int waited = 0; waited < ms; waited += 10) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

class CreateProcessLauncherTest : public ::testing::Test {
 protected:
  // The helper as the printer program of a job directory with a blank in its name.
  CreateProcessLauncherTest() : jobDir_(dir_ / "my jobs") {
    std::filesystem::create_directory(jobDir_);
    std::filesystem::copy_file(HelperProgram(), PrinterProgramPath(jobDir_));
  }

  std::unique_ptr<ChildProcess> Start(const std::string& mode) {
    Result<std::unique_ptr<ChildProcess>> child = SystemProcessLauncher().Start(
        {PrinterProgramPath(jobDir_), jobDir_ + "\\", {{"LAUNCH_HELPER_MODE", mode}, {"KVITRA_START_MINIMISED", "1"}}});
    EXPECT_TRUE(child.ok()) << child.status().ToString();
    return std::move(child).ValueOr(nullptr);
  }

  // Once the helper has opened its windows.
  bool Ready() const {
    const std::string text = Contents(jobDir_ + "\\ready.txt");
    return text != "<missing>" && !text.empty();
  }

  ScratchDir dir_;
  std::string jobDir_;
};

TEST_F(CreateProcessLauncherTest, ChildRunsInTheJobDirectoryMinimisedWithTheQuotedPathAlone) {
  SetEnvironmentVariableW(L"LAUNCH_HELPER_INHERITED", L"yes");
  SetEnvironmentVariableW(L"kvitra_start_minimised", L"0");  // replaced whatever its letter case
  auto child = Start("report");
  SetEnvironmentVariableW(L"LAUNCH_HELPER_INHERITED", nullptr);
  SetEnvironmentVariableW(L"kvitra_start_minimised", nullptr);
  ASSERT_TRUE(WaitUntil([&] { return child->HasExited(); }, 10000));
  EXPECT_EQ(child->ExitCode(), 3);
  EXPECT_EQ(PrinterProgramPath(jobDir_), jobDir_ + "\\KVITRA.EXE");
  const std::string flags =
      std::to_string(STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK) + " " + std::to_string(SW_SHOWMINNOACTIVE);
  EXPECT_EQ(Contents(jobDir_ + "\\report.txt"),
            jobDir_ + "\n\"" + jobDir_ + "\\KVITRA.EXE\"\n1\nyes\n" + flags + "\n\n");
}

TEST_F(CreateProcessLauncherTest, ExitCodeIsTheProcessExitCodeAsASignedNumber) {
  auto child = Start("crash");
  ASSERT_TRUE(WaitUntil([&] { return child->HasExited(); }, 10000));
  EXPECT_EQ(child->ExitCode(), -1073741819);
}

TEST_F(CreateProcessLauncherTest, CloseRequestReachesEveryTopLevelWindowOfTheChild) {
  auto child = Start("windows");
  ASSERT_TRUE(WaitUntil([&] { return Ready(); }, kFirstWindowMs));
  ASSERT_EQ(Contents(jobDir_ + "\\ready.txt"), "2\n");
  EXPECT_FALSE(child->HasExited());
  child->RequestClose();
  ASSERT_TRUE(WaitUntil([&] { return child->HasExited(); }, 10000));
  EXPECT_EQ(child->ExitCode(), 12);
}

TEST_F(CreateProcessLauncherTest, StartFailureGivesTheSystemText) {
  const Result<std::unique_ptr<ChildProcess>> missing = SystemProcessLauncher().Start({dir_ / "missing.exe", dir_.path(), {}});
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.status().systemText(), win32::SystemErrorText(ERROR_FILE_NOT_FOUND));
  EXPECT_NE(missing.status().systemText(), "error 2") << "the system has a text for it";
}

TEST(ChildEnvironmentTest, ExtraVariablesReplaceOrAddAndTheBlockStaysSorted) {
  const std::vector<std::wstring> parent = {L"=C:=C:\\work", L"Path=C:\\bin", L"kvitra_start_minimised=0",
                                            L"TEMP=C:\\tmp"};
  EXPECT_EQ(win32::ChildEnvironment(parent, {{L"KVITRA_START_MINIMISED", L"1"}, {L"ALPHA", L""}}),
            (std::vector<std::wstring>{L"=C:=C:\\work", L"ALPHA=", L"KVITRA_START_MINIMISED=1", L"Path=C:\\bin",
                                       L"TEMP=C:\\tmp"}));
  EXPECT_EQ(win32::EnvironmentBlock({L"A=1", L"B=2"}), std::wstring(L"A=1\0B=2\0\0", 9));
  EXPECT_EQ(win32::EnvironmentBlock({}), std::wstring(L"\0\0", 2));
}

}  // namespace
}  // namespace platform
