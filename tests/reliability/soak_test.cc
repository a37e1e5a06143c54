// A stand-in host drops jobs one after another into a job directory watched by
// the real varden, which starts the real kvitra against thermal-sim. Every
// tenth job or so carries a bad price at a random position, so that it fails
// with the receipt already open. Counted from the simulator's log: each
// succeeded job printed exactly once with its result line naming the
// simulator's receipt number, no failed job printed, no job lost.
// KVITRA_SOAK_JOBS sets the number of jobs.
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "tests/reliability/job_run.h"

namespace reliability {
namespace {

using namespace std::chrono_literals;
using e2e::Count;
using e2e::WaitUntil;

int JobsWanted() {
  const char* text = std::getenv("KVITRA_SOAK_JOBS");
  return text ? std::max(1, std::atoi(text)) : 20;
}

// Job `n`: three positions whose first price makes the total unique, so the
// simulator's log tells which job a receipt belongs to. `badPosition` (1..3)
// spoils that position's price.
std::string SoakJob(int n, int badPosition, std::string& total) {
  const int cents = 100 + n;
  char first[16], sum[16];
  std::snprintf(first, sizeof first, "%d.%02d", cents / 100, cents % 100);
  std::snprintf(sum, sizeof sum, "%d.%02d", (cents + 10250) / 100, (cents + 10250) % 100);
  total = sum;
  std::string prices[3] = {first, "98.00", "4.50"};
  if (badPosition) prices[badPosition - 1] = "x1.00";
  char number[16];
  std::snprintf(number, sizeof number, "%05d", n);
  return e2e::JobText("XX0 paragon/A Soak\n12.12.2026\n" + std::string(number) + "/2026\nA07\n2\n01\nPozycja jeden\n" +
                      prices[0] + "\n12\nPozycja dwa\n" + prices[1] + "\n25\nPozycja trzy\n" + prices[2] + "\n" +
                      sum + "\n19.16\n");
}

// The receipt number of every "RECEIPT n=N printed total=T" line, by total.
std::multimap<std::string, std::string> PrintedByTotal(const std::string& log) {
  std::multimap<std::string, std::string> printed;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.find(" RECEIPT ") == std::string::npos || line.find(" printed") == std::string::npos) continue;
    const size_t n = line.find(" n="), t = line.find(" total=");
    if (n == std::string::npos || t == std::string::npos) continue;
    printed.emplace(line.substr(t + 7, line.find(' ', t + 7) - t - 7), line.substr(n + 3, line.find(' ', n + 3) - n - 3));
  }
  return printed;
}

TEST(Soak, JobsThroughVardenPrintOnceAndNoneIsLost) {
  const int jobs = JobsWanted();
  e2e::Scratch scratch;
  e2e::Simulator sim(scratch, {"--first-receipt", "1000"});
  e2e::WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(sim.Address()));
  e2e::WriteFile(scratch.jobs + "/PARAGNIP.DAT", kNip);
  e2e::WriteFile(scratch.jobs + "/PLATNOSC.DAT", kPayment);
  e2e::WriteFile(scratch.jobs + "/looku.dat", "");
  std::map<std::string, std::string> env = scratch.Environment();
  env["QT_QPA_PLATFORM"] = "offscreen";
  env["KVITRA_PROGRAM"] = e2e::ProgramPath("KVITRA_BIN");
  e2e::Child varden({e2e::ProgramPath("VARDEN_BIN"), scratch.jobs + "/"}, scratch.root, env);

  std::mt19937 random(6);
  struct Dropped {
    std::string total;
    bool fails;
    std::string resultLine;
  };
  std::vector<Dropped> dropped;
  int lost = 0, corrupted = 0;
  const std::string jobPath = scratch.jobs + "/FAK_DANE.DAT";
  for (int n = 1; n <= jobs; ++n) {
    const int bad = std::uniform_int_distribution<int>(0, 9)(random) == 0
                        ? std::uniform_int_distribution<int>(1, 3)(random)
                        : 0;
    Dropped job{"", bad != 0, ""};
    const std::string text = SoakJob(n, bad, job.total);
    const size_t doneBefore = Count(varden.Stderr(), ", done");
    e2e::WriteFile(jobPath, text);
    // The host waits for the result line; a failed job is known by the
    // watcher's log line and the job left in place.
    if (!WaitUntil([&] { return Count(varden.Stderr(), ", done") > doneBefore; }, 60s)) {
      ++lost;
      ADD_FAILURE() << "job " << n << " never run: " << varden.Stderr();
      continue;
    }
    const std::string after = e2e::ReadFile(jobPath);
    if (after.rfind("##", 0) == 0) {
      job.resultLine = after.substr(2);
    } else if (after != text) {
      ++corrupted;
    }
    dropped.push_back(job);
  }
  varden.Signal(SIGTERM);
  varden.Wait(10s);
  sim.Stop();

  const std::multimap<std::string, std::string> printed = PrintedByTotal(sim.Log());
  int succeeded = 0, failed = 0, duplicates = 0, wrongNumber = 0, failedPrinted = 0, succeededUnprinted = 0;
  for (const Dropped& job : dropped) {
    const size_t copies = printed.count(job.total);
    if (copies > 1) ++duplicates;
    if (job.fails) {
      ++failed;
      if (copies > 0) ++failedPrinted;
      EXPECT_TRUE(job.resultLine.empty()) << "a bad job got a result line";
      continue;
    }
    ++succeeded;
    if (job.resultLine.empty() || copies == 0) {
      ++succeededUnprinted;
      continue;
    }
    if (printed.find(job.total)->second != job.resultLine) ++wrongNumber;
  }
  std::printf(
      "soak: %d jobs, %d succeeded, %d failed on purpose, %zu receipts printed, %d duplicates, %d lost, "
      "%d corrupted job files, %d failed jobs printed, %d good jobs without receipt, %d wrong result numbers\n",
      jobs, succeeded, failed, printed.size(), duplicates, lost, corrupted, failedPrinted, succeededUnprinted,
      wrongNumber);
  EXPECT_EQ(duplicates, 0);
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(corrupted, 0);
  EXPECT_EQ(failedPrinted, 0);
  EXPECT_EQ(succeededUnprinted, 0);
  EXPECT_EQ(wrongNumber, 0);
  EXPECT_EQ(printed.size(), size_t(succeeded));
}

}  // namespace
}  // namespace reliability
