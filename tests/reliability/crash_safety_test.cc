// kvitra killed with SIGKILL at a random moment of a run that would succeed:
// the job file holds the job or its whole result line, and the archive holds
// no copy or one complete copy. KVITRA_CRASH_RUNS sets the number of runs.
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <regex>
#include <thread>

#include "tests/reliability/job_run.h"

namespace reliability {
namespace {

using namespace std::chrono_literals;

int RunsWanted() {
  const char* text = std::getenv("KVITRA_CRASH_RUNS");
  return text ? std::max(1, std::atoi(text)) : 40;
}

// A scratch job directory with the full receipt and a simulator behind it.
struct ReceiptSetup {
  explicit ReceiptSetup(int firstReceipt) : sim(scratch, {"--first-receipt", std::to_string(firstReceipt)}) {
    e2e::WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(sim.Address()));
    e2e::WriteFile(scratch.jobs + "/PARAGNIP.DAT", kNip);
    e2e::WriteFile(scratch.jobs + "/PLATNOSC.DAT", kPayment);
    e2e::WriteFile(scratch.jobs + "/FAK_DANE.DAT", kFullReceipt);
  }
  e2e::Child StartKvitra() { return e2e::Child({e2e::ProgramPath("KVITRA_BIN")}, scratch.jobs, scratch.Environment()); }
  e2e::Scratch scratch;
  e2e::Simulator sim;
};

// One whole undisturbed run on this machine (slower under the sanitizers).
std::chrono::microseconds WholeRun() {
  ReceiptSetup setup(1);
  const auto start = std::chrono::steady_clock::now();
  e2e::Child kvitra = setup.StartKvitra();
  kvitra.Wait(60s);
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

TEST(CrashSafety, KilledAnywhereLeavesJobOrWholeResultAndCompleteCopies) {
  const int runs = RunsWanted();
  // The kills land anywhere in a run or shortly after it.
  const int spread = static_cast<int>(WholeRun().count() * 3 / 2);
  std::mt19937 random(20261210);
  int results = 0, jobsLeft = 0, copiesSeen = 0;
  for (int run = 0; run < runs; ++run) {
    ReceiptSetup setup(100 + run);
    e2e::Scratch& scratch = setup.scratch;
    e2e::Child kvitra = setup.StartKvitra();
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, spread)(random)));
    kvitra.Signal(SIGKILL);
    kvitra.Wait(10s);

    const std::string job = e2e::ReadFile(scratch.jobs + "/FAK_DANE.DAT");
    const bool result = std::regex_match(job, std::regex("##[0-9]+"));
    ASSERT_TRUE(job == kFullReceipt || result) << "run " << run << ": job file holds " << job.size() << " bytes";
    (result ? results : jobsLeft)++;
    if (result) {
      EXPECT_EQ(job, "##" + std::to_string(100 + run)) << "run " << run;
    }

    const std::vector<std::string> copies = VisibleFiles(scratch.archive);
    ASSERT_LE(copies.size(), 1u) << "run " << run;
    for (const std::string& copy : copies) {
      EXPECT_EQ(e2e::ReadFile(scratch.archive + "/" + copy), kFullReceipt) << "run " << run << ": " << copy;
      ++copiesSeen;
    }
    // The result line is written only after the copy is in place.
    if (result) {
      EXPECT_EQ(copies.size(), 1u) << "run " << run;
    }
    EXPECT_LE(PrintedReceipts(setup.sim.Log()), 1) << "run " << run;
  }
  std::printf("crash safety: %d runs, %d result lines, %d jobs left, %d archive copies, 0 corrupted\n", runs,
              results, jobsLeft, copiesSeen);
  // The kills landed both before and after the end of the run.
  if (runs >= 20) {
    EXPECT_GT(results, 0);
    EXPECT_GT(jobsLeft, 0);
  }
}

}  // namespace
}  // namespace reliability
