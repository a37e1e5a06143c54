// Varden watching a shared job directory in which the job file's name holds
// something other than a regular file: it starts no printer run for it, keeps
// watching, and runs the real job that later takes the name.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "tests/reliability/job_run.h"

namespace reliability {
namespace {

using namespace std::chrono_literals;
using e2e::Count;
using e2e::WaitUntil;

struct NotAFile {
  const char* name;
  std::function<void(const std::string& path, const std::string& root)> make;
};

const NotAFile kNotFiles[] = {
    {"fifo", [](const std::string& path, const std::string&) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }},
    {"directory", [](const std::string& path, const std::string&) { ASSERT_EQ(mkdir(path.c_str(), 0755), 0); }},
    {"link_to_directory",
     [](const std::string& path, const std::string& root) { ASSERT_EQ(symlink(root.c_str(), path.c_str()), 0); }},
    {"link_to_device",
     [](const std::string& path, const std::string&) { ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0); }},
};

void PrintTo(const NotAFile& c, std::ostream* out) { *out << c.name; }

class VardenNotAFile : public ::testing::TestWithParam<NotAFile> {};

TEST_P(VardenNotAFile, IsNeverRunAndTheLoopGoesOn) {
  std::string varden;
  try {
    varden = e2e::ProgramPath("VARDEN_BIN");
  } catch (const std::exception&) {
    GTEST_SKIP() << "varden is not built";
  }
  e2e::Scratch scratch;
  e2e::Simulator sim(scratch, {"--first-receipt", "5"});
  e2e::WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(sim.Address()));
  e2e::WriteFile(scratch.jobs + "/looku.dat", "");
  const std::string job = scratch.jobs + "/FAK_DANE.DAT";
  GetParam().make(job, scratch.root);
  std::map<std::string, std::string> env = scratch.Environment();
  env["QT_QPA_PLATFORM"] = "offscreen";
  env["KVITRA_PROGRAM"] = e2e::ProgramPath("KVITRA_BIN");
  e2e::Child watcher({varden, scratch.jobs + "/"}, scratch.root, env);

  std::this_thread::sleep_for(3s);
  EXPECT_TRUE(watcher.Running());
  EXPECT_EQ(Count(watcher.Stderr(), ", done"), 0u) << watcher.Stderr();
  EXPECT_EQ(Frames(sim.Log()).size(), 0u) << "no printer run for " << GetParam().name;

  // The host replaces the name with a real job: it is run as usual.
  ASSERT_EQ(std::system(("rm -rf '" + job + "'").c_str()), 0);
  e2e::WriteFile(job, kPayout);  // Varden takes a job of at least four lines
  EXPECT_TRUE(WaitUntil([&] { return e2e::ReadFile(job).rfind("##", 0) == 0; }, 30s)) << watcher.Stderr();
  watcher.Signal(SIGTERM);
  watcher.Wait(10s);
}

INSTANTIATE_TEST_SUITE_P(JobFileName, VardenNotAFile, ::testing::ValuesIn(kNotFiles),
                         [](const ::testing::TestParamInfo<NotAFile>& info) { return info.param.name; });

}  // namespace
}  // namespace reliability
