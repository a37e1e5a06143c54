// Every frame of a job under every printer fault, over TCP and over a
// pseudo-terminal, run with the real kvitra. Whatever the fault:
//  * exit code 0, within the time the waits allow;
//  * success leaves the result line and one complete archive copy; failure
//    leaves the job byte-identical, no copy, and a message;
//  * "0$e" is sent only for a receipt whose opening was sent and whose closing
//    was not accepted, and always when the printer holds such a receipt and
//    still answers;
//  * a receipt is printed at most once, and exactly once on success.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <regex>

#include "tests/reliability/job_run.h"

namespace reliability {
namespace {

using namespace std::chrono_literals;

struct MatrixJob {
  const char* name;
  std::string job;
  bool receipt;
};

const MatrixJob kJobs[] = {
    {"receipt", kFullReceipt, true},
    {"payout", kPayout, false},
    {"daily_report", kDailyReport, false},
    {"cash_state", kCashState, false},
};
const char* const kFaults[] = {"--refuse-frame", "--silent-from", "--drop-after"};

// The longest a run may take. Over TCP every wait is a few seconds. Over a
// serial line a receipt's cash information is asked for up to 60 times, each
// a 500 ms pause and a reply wait of up to 5 s plus one read: some ten minutes
// when the printer stays silent after printing.
constexpr auto kTcpRunLimit = std::chrono::seconds(120);
constexpr auto kSerialRunLimit = std::chrono::seconds(60 * 11);

struct RunOutcome {
  int exitCode;
  std::chrono::milliseconds took;
  std::string jobFile, errors, log;
  std::vector<std::string> copies;
  std::string firstCopy;
};

RunOutcome RunJob(const MatrixJob& job, std::vector<std::string> simOptions, bool overPty) {
  e2e::Scratch scratch;
  const std::string pty = overPty ? scratch.root + "/printer-tty" : "";
  e2e::Simulator sim(scratch, simOptions, pty);
  e2e::WriteFile(scratch.jobs + "/PORT.CFG", PortConfig(sim.Address()));
  e2e::WriteFile(scratch.jobs + "/PARAGNIP.DAT", kNip);
  e2e::WriteFile(scratch.jobs + "/PLATNOSC.DAT", kPayment);
  e2e::WriteFile(scratch.jobs + "/FAK_DANE.DAT", job.job);
  const auto start = std::chrono::steady_clock::now();
  e2e::Child kvitra({e2e::ProgramPath("KVITRA_BIN")}, scratch.jobs, scratch.Environment());
  RunOutcome out;
  out.exitCode = kvitra.Wait(overPty ? kSerialRunLimit + 60s : kTcpRunLimit + 60s);
  out.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  out.errors = kvitra.Stderr();
  out.jobFile = e2e::ReadFile(scratch.jobs + "/FAK_DANE.DAT");
  out.copies = VisibleFiles(scratch.archive);
  if (!out.copies.empty()) out.firstCopy = e2e::ReadFile(scratch.archive + "/" + out.copies[0]);
  sim.Stop();
  out.log = sim.Log();
  return out;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void CheckInvariants(const MatrixJob& job, const RunOutcome& out, const std::string& fault, bool overPty,
                     const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_EQ(out.exitCode, 0) << out.errors;
  EXPECT_LT(out.took, overPty ? kSerialRunLimit : kTcpRunLimit);
  const bool succeeded = std::regex_match(out.jobFile, std::regex("##[0-9]+"));
  if (succeeded) {
    ASSERT_EQ(out.copies.size(), 1u);
    EXPECT_EQ(out.firstCopy, job.job);
    EXPECT_TRUE(EndsWith(out.copies[0], "." + out.jobFile.substr(2)));
  } else {
    EXPECT_EQ(out.jobFile, job.job) << "the job must stay byte-identical";
    EXPECT_TRUE(out.copies.empty());
    EXPECT_FALSE(out.errors.empty()) << "a failed run says why";
  }

  const std::vector<LoggedFrame> frames = Frames(out.log);
  const int printed = PrintedReceipts(out.log);
  EXPECT_LE(printed, 1);
  if (!job.receipt) {
    for (const LoggedFrame& f : frames) EXPECT_NE(f.command, "0$e");
    return;
  }
  if (succeeded) {
    EXPECT_EQ(printed, 1);
  }
  bool openingSent = false, opened = false, closed = false;
  int cancels = 0;
  for (size_t i = 0; i < frames.size(); ++i) {
    const LoggedFrame& f = frames[i];
    const bool accepted = f.result == "accepted";
    if (f.command.find("$h") != std::string::npos) {
      openingSent = true;
      opened = accepted;
    }
    if (f.command.find("$y") != std::string::npos && accepted) closed = true;
    if (f.command == "0$e") {
      EXPECT_TRUE(openingSent && !closed) << "cancel at frame " << i + 1;
      ++cancels;
    }
  }
  // The printer still answers after a refusal: an open receipt must be cancelled.
  if (fault == "--refuse-frame" && opened && !closed) {
    EXPECT_EQ(cancels, 1);
  }
  EXPECT_LE(cancels, 1);
}

void PrintTo(const MatrixJob& job, std::ostream* out) { *out << job.name; }

class FaultMatrix : public ::testing::TestWithParam<std::tuple<MatrixJob, bool>> {};

TEST_P(FaultMatrix, EveryFrameEveryFault) {
  // Plain names, not a structured binding: the lambdas below capture them.
  const MatrixJob& job = std::get<0>(GetParam());
  const bool overPty = std::get<1>(GetParam());
  const RunOutcome clean = RunJob(job, {}, overPty);
  CheckInvariants(job, clean, "", overPty, "no fault");
  ASSERT_TRUE(clean.jobFile.rfind("##", 0) == 0) << clean.errors;
  const int frames = static_cast<int>(Frames(clean.log).size());
  ASSERT_GT(frames, 0);
  // The faulty runs mostly wait on the printer's silence, so several run at
  // once, each with its own simulator and scratch tree.
  struct Case {
    std::string fault;
    int k;
  };
  std::vector<Case> cases;
  for (const char* fault : kFaults)
    for (int k = 1; k <= frames; ++k) cases.push_back({fault, k});
  constexpr size_t kAtOnce = 32;
  for (size_t first = 0; first < cases.size(); first += kAtOnce) {
    std::vector<std::future<void>> running;
    for (size_t i = first; i < std::min(cases.size(), first + kAtOnce); ++i) {
      running.push_back(std::async(std::launch::async, [&, c = cases[i]] {
        const RunOutcome out = RunJob(job, {c.fault, std::to_string(c.k)}, overPty);
        CheckInvariants(job, out, c.fault, overPty,
                        std::string(job.name) + (overPty ? " pty " : " tcp ") + c.fault + " " + std::to_string(c.k));
      }));
    }
    for (auto& run : running) run.get();
  }
  const size_t runs = cases.size();
  std::printf("fault matrix %s over %s: %d frames, %zu faulty runs\n", job.name, overPty ? "pty" : "tcp", frames,
              runs);
}

INSTANTIATE_TEST_SUITE_P(Jobs, FaultMatrix, ::testing::Combine(::testing::ValuesIn(kJobs), ::testing::Bool()),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) ? "_pty" : "_tcp");
                         });

}  // namespace
}  // namespace reliability
