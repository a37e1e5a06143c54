// The job directory is shared on the network: whatever stands in it under the
// job's names, kvitra ends in bounded time with exit code 0, never writes
// through a link, copies only a complete job into the archive, and leaves
// either the job or its whole result line.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>

#include "tests/reliability/job_run.h"

namespace reliability {
namespace {

using namespace std::chrono_literals;
using e2e::ReadFile;
using e2e::WriteFile;

struct Tree {
  e2e::Scratch& scratch;
  std::string Job() const { return scratch.jobs + "/FAK_DANE.DAT"; }
  std::string InJobs(const std::string& name) const { return scratch.jobs + "/" + name; }
  std::string Outside() const { return scratch.root + "/outside.DAT"; }
};

bool IsRegular(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
mode_t TypeOf(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// What a run must end in; some inputs may go either way, as long as the run
// ends in one of the two consistent states.
enum Outcome { kFails, kSucceeds, kEither };

struct HostileCase {
  const char* name;
  std::function<void(const Tree&)> prepare;
  Outcome outcome;
  // Checks of this case after the run, besides the common ones.
  std::function<void(const Tree&, const std::string& errors)> check;
};

const HostileCase kCases[] = {
    {"job file is a link to a job outside the directory",
     [](const Tree& t) {
       WriteFile(t.Outside(), kCashState);
       unlink(t.Job().c_str());
       ASSERT_EQ(symlink(t.Outside().c_str(), t.Job().c_str()), 0);
     },
     kSucceeds,
     [](const Tree& t, const std::string&) {
       EXPECT_EQ(ReadFile(t.Outside()), kCashState) << "written through the link";
       EXPECT_TRUE(IsRegular(t.Job())) << "the result line replaces the link itself";
     }},
    {"job file is a dangling link", [](const Tree& t) {
       unlink(t.Job().c_str());
       ASSERT_EQ(symlink("/nonexistent/x", t.Job().c_str()), 0);
     },
     kFails, [](const Tree& t, const std::string&) { EXPECT_EQ(TypeOf(t.Job()), S_IFLNK); }},
    {"job file is a directory", [](const Tree& t) {
       unlink(t.Job().c_str());
       ASSERT_EQ(mkdir(t.Job().c_str(), 0755), 0);
     }, kFails,
     [](const Tree& t, const std::string&) { EXPECT_EQ(TypeOf(t.Job()), S_IFDIR); }},
    {"job file is a FIFO nobody writes", [](const Tree& t) {
       unlink(t.Job().c_str());
       ASSERT_EQ(mkfifo(t.Job().c_str(), 0644), 0);
     }, kFails,
     [](const Tree& t, const std::string&) { EXPECT_EQ(TypeOf(t.Job()), S_IFIFO); }},
    {"job file is huge with no line end",
     [](const Tree& t) { WriteFile(t.Job(), std::string(64 << 20, 'A')); }, kFails,
     [](const Tree& t, const std::string&) { EXPECT_EQ(ReadFile(t.Job()).size(), size_t{64} << 20); }},
    {"job file is random binary", [](const Tree& t) { WriteFile(t.Job(), RandomBytes(4096, 7)); }, kEither, nullptr},
    {"job file cut inside a position",
     [](const Tree& t) { WriteFile(t.Job(), kFullReceipt.substr(0, kFullReceipt.find("Badanie"))); }, kFails,
     nullptr},
    {"job file in UTF-8 instead of Windows-1250",
     [](const Tree& t) { WriteFile(t.Job(), "XX1 wypłata\r\n12.12.2026\r\n1/2026\r\nA07\r\n0\r\n01\r\nWypłata\r\n50.00\r\n50.00\r\n"); },
     kSucceeds, nullptr},
    {"job file with a NUL in a line",
     [](const Tree& t) {
       std::string job = kPayout;
       job[job.find("Wyp")] = '\0';
       WriteFile(t.Job(), job);
     },
     kSucceeds, nullptr},
    {"empty job file", [](const Tree& t) { WriteFile(t.Job(), ""); }, kFails, nullptr},
    {"PORT.CFG is a directory",
     [](const Tree& t) {
       unlink(t.InJobs("PORT.CFG").c_str());
       ASSERT_EQ(mkdir(t.InJobs("PORT.CFG").c_str(), 0755), 0);
     },
     kFails, nullptr},
    {"PORT.CFG is a FIFO",
     [](const Tree& t) {
       unlink(t.InJobs("PORT.CFG").c_str());
       ASSERT_EQ(mkfifo(t.InJobs("PORT.CFG").c_str(), 0644), 0);
     },
     kFails, nullptr},
    {"PORT.CFG links to a device", [](const Tree& t) {
       unlink(t.InJobs("PORT.CFG").c_str());
       ASSERT_EQ(symlink("/dev/zero", t.InJobs("PORT.CFG").c_str()), 0);
     },
     kFails, nullptr},
    {"PORT.CFG is random binary", [](const Tree& t) { WriteFile(t.InJobs("PORT.CFG"), RandomBytes(2048, 11)); },
     kFails, nullptr},
    {"PARAGNIP.DAT is a FIFO", [](const Tree& t) { ASSERT_EQ(mkfifo(t.InJobs("PARAGNIP.DAT").c_str(), 0644), 0); },
     kFails, nullptr},
    // A directory is no payment file: the receipt ends without a payment form.
    {"PLATNOSC.DAT is a directory",
     [](const Tree& t) { ASSERT_EQ(mkdir(t.InJobs("PLATNOSC.DAT").c_str(), 0755), 0); }, kSucceeds, nullptr},
    {"PLATNOSC.DAT is huge", [](const Tree& t) { WriteFile(t.InJobs("PLATNOSC.DAT"), std::string(8 << 20, '1')); },
     kFails, nullptr},
    {"the archive folder is a file",
     [](const Tree& t) {
       ::mkdir((t.scratch.home + "/Documents").c_str(), 0755);
       WriteFile(t.scratch.archive, "not a folder");
     },
     kSucceeds, [](const Tree& t, const std::string&) { EXPECT_EQ(ReadFile(t.scratch.archive), "not a folder"); }},
};

void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

class HostileJobDirectory : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileJobDirectory, EndsCleanly) {
  const HostileCase& c = GetParam();
  e2e::Scratch scratch;
  Tree tree{scratch};
  e2e::Simulator sim(scratch, {"--first-receipt", "7"});
  WriteFile(tree.InJobs("PORT.CFG"), PortConfig(sim.Address()));
  WriteFile(tree.Job(), kFullReceipt);
  c.prepare(tree);
  const bool jobWasRegular = IsRegular(tree.Job());
  const std::string before = jobWasRegular ? ReadFile(tree.Job()) : "";

  const auto start = std::chrono::steady_clock::now();
  e2e::Child kvitra({e2e::ProgramPath("KVITRA_BIN")}, scratch.jobs, scratch.Environment());
  ASSERT_EQ(kvitra.Wait(30s), 0) << "hung or failed: " << kvitra.Stderr();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
  const std::string errors = kvitra.Stderr();

  const std::vector<std::string> copies = VisibleFiles(scratch.archive);
  const bool succeeded = IsRegular(tree.Job()) && ReadFile(tree.Job()).substr(0, 2) == "##";
  if (c.outcome != kEither) {
    EXPECT_EQ(succeeded, c.outcome == kSucceeds) << errors;
  }
  if (succeeded) {
    if (TypeOf(scratch.archive) == S_IFDIR) {
      ASSERT_EQ(copies.size(), 1u);
      if (jobWasRegular) {
        EXPECT_TRUE(ReadFile(scratch.archive + "/" + copies[0]) == before);
      }
    }
  } else {
    EXPECT_FALSE(errors.empty()) << "a failure tells why";
    if (jobWasRegular) {
      EXPECT_TRUE(ReadFile(tree.Job()) == before) << "the job is left as it was";
    }
    EXPECT_TRUE(copies.empty());
    EXPECT_EQ(PrintedReceipts(sim.Log()), 0);
  }
  for (const std::string& copy : copies) EXPECT_TRUE(IsRegular(scratch.archive + "/" + copy));
  if (c.check) c.check(tree, errors);
  std::printf("hostile input: %s -> %s; %s\n", c.name, succeeded ? "result line" : "job left, no copy",
              errors.empty() ? "no message" : errors.substr(0, errors.find('\n')).c_str());
}

INSTANTIATE_TEST_SUITE_P(BadInputs, HostileJobDirectory, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                           std::string name;
                           for (char ch : std::string(info.param.name))
                             name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                           return name;
                         });

}  // namespace
}  // namespace reliability
