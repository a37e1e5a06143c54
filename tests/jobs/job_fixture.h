#pragma once
// A job run over in-memory files and a scripted printer link.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/job_directory_files.h"
#include "printer/jobs/fiscal_job.h"
#include "tests/support/fake_environment.h"
#include "tests/support/fake_printer_link.h"
#include "tests/support/memory_files.h"
#include "tests/support/native_path.h"
#include "tests/support/recording_ui.h"
#include "tests/support/virtual_clock.h"

namespace jobs_test {

using testing_support::NativePath;

// Lines joined with CR LF, each one ended.
inline std::string JobLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

class JobTest : public ::testing::Test {
 public:
  void WriteJob(const std::vector<std::string>& lines) { files.Put(job_directory::kJobFileName, JobLines(lines)); }
  void PutMarker() { files.Put(NativePath("/opt/zembrano/BezPotPa.DAT"), ""); }

  kvitra::JobFiles HostFiles() { return kvitra::JobFiles(files, converter, env.zembranoDir); }
  int32_t Run() {
    kvitra::JobFiles jobFiles = HostFiles();
    return kvitra::RunFiscalJob(link, jobFiles, settings, clock, ui);
  }

  // The run ended the way every run must: the link closed, no command after
  // it, no job file left open.
  void ExpectCleanEnd() {
    EXPECT_TRUE(link.closed);
    EXPECT_FALSE(link.sentAfterClose);
    EXPECT_EQ(files.OpenCount(), 0);
  }

  testing_support::VirtualClock clock;
  testing_support::MemoryFiles files;
  testing_support::FakeEnvironment env;
  testing_support::RecordingUi ui;
  kvitra::JobSettings settings;
  kvitra::CharsetConverter converter = kvitra::NoConversion;
  testing_support::FakePrinterLink link{&clock};
};

}  // namespace jobs_test
