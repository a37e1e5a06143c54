// --help and --version of the three programs: answered on standard output,
// exit status 0, and nothing in the current directory touched, not even a job
// waiting there. Every other command line keeps its meaning (the other tests).
#include <gtest/gtest.h>

#include <chrono>

#include "platform/program_info.h"
#include "tests/e2e/process_runner.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

TEST(CommandLine, HelpAndVersionAnswerWithoutTouchingTheJobDirectory) {
  const struct {
    const char* program;
    const char* variable;
  } programs[] = {{"kvitra", "KVITRA_BIN"}, {"varden", "VARDEN_BIN"}, {"thermal-sim", "THERMAL_SIM_BIN"}};
  Scratch scratch;
  const std::string job = JobText("XX2\n");
  WriteFile(scratch.jobs + "/FAK_DANE.DAT", job);
  WriteFile(scratch.jobs + "/PORT.CFG", "127.0.0.1:9\r\n");
  const std::vector<std::string> before = ListDirectory(scratch.jobs);

  for (const auto& [program, variable] : programs) {
    const std::string path = ProgramPath(variable);
    for (const std::string option : {"--help", "--version"}) {
      SCOPED_TRACE(std::string(program) + " " + option);
      Child child({path, option}, scratch.jobs, scratch.Environment());
      ASSERT_EQ(child.Wait(10s), 0);
      const std::string out = child.Stdout();
      if (option == "--version") {
        EXPECT_EQ(out, std::string(program) + " " + platform::PackageVersion() + "\n");
      } else {
        EXPECT_NE(out.find("Usage: " + std::string(program)), std::string::npos) << out;
        EXPECT_NE(out.find("man " + std::string(program)), std::string::npos) << out;
      }
      EXPECT_EQ(child.Stderr(), "");
      EXPECT_EQ(ReadFile(scratch.jobs + "/FAK_DANE.DAT"), job);
      EXPECT_EQ(ListDirectory(scratch.jobs), before);
      EXPECT_TRUE(ListDirectory(scratch.archive).empty());
    }
  }
}

}  // namespace
}  // namespace e2e
