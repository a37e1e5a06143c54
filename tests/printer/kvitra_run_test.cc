#include "printer/kvitra_run.h"

#include <gtest/gtest.h>

#include "common/job_directory_files.h"
#include "printer/messages.h"
#include "tests/printer/fake_platform.h"
#include "tests/support/recording_ui.h"
#include "tests/support/virtual_clock.h"

namespace kvitra {
namespace {

using testing_support::NativePath;

const std::string kJob = "\x01\r\nPARAGON\r\n\xA3\xF3\x64\x9F\r\n1\r\n";  // bytes, not text
const std::string kArchive = NativePath("/home/kasa/Documents/KVITRA");
const std::string kCopyStem = kArchive + NativePath("/PAR_2021-09-13T10_11_28.");

class KvitraRunTest : public ::testing::Test {
 protected:
  KvitraRunTest() {
    files.files[job_directory::kJobFileName] = kJob;
    files.directories.insert(NativePath("/home"));
  }

  RunOutcome RunWith(JobProcedure job) {
    KvitraRun run({clock, files, env, store, serialPorts, network}, ui, std::move(job));
    return run.Run();
  }
  static JobProcedure Returning(int32_t code) {
    return [code](JobContext&) { return code; };
  }

  testing_support::VirtualClock clock;  // 10:11:28.450 on 13 September 2021
  testing_support::MemoryFiles files;
  testing_support::FakeEnvironment env;
  testing_support::FakeSettingsStore store;
  testing_support::NoSerialPorts serialPorts;
  testing_support::NoNetwork network;
  testing_support::RecordingUi ui;
};

TEST_F(KvitraRunTest, SuccessArchivesTheJobAndWritesTheResultLine) {
  struct Case {
    int32_t code;
    std::string line;
  };
  const Case cases[] = {{1, "##1"}, {417, "##417"}, {2147483647, "##2147483647"}, {-12, "##-12"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    files.files.clear();
    files.files[job_directory::kJobFileName] = kJob;
    EXPECT_EQ(RunWith(Returning(c.code)), RunOutcome::Close);
    EXPECT_EQ(files.files[job_directory::kJobFileName], c.line);
    std::string copy = kCopyStem + std::to_string(c.code);
    EXPECT_EQ(files.FilesIn(kArchive), std::vector<std::string>{copy});
    EXPECT_EQ(files.files[copy], kJob);
  }
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(KvitraRunTest, FailedJobLeavesEverythingAsItWas) {
  EXPECT_EQ(RunWith([](JobContext& job) {
              job.ShowError("failure");
              return 0;
            }),
            RunOutcome::ErrorWindow);
  EXPECT_EQ(files.files[job_directory::kJobFileName], kJob);
  EXPECT_TRUE(files.madeDirectories.empty());
  EXPECT_EQ(files.files.size(), 1u);
  EXPECT_EQ(ui.errors, std::vector<std::string>{"failure"});
}

TEST_F(KvitraRunTest, SecondRunInTheSameSecondKeepsTheFirstCopy) {
  RunWith(Returning(1));
  files.files[job_directory::kJobFileName] = "second job";
  clock.SetNow({2021, 9, 13, 10, 11, 28, 980});
  EXPECT_EQ(RunWith(Returning(1)), RunOutcome::Close);
  EXPECT_EQ(files.files[kCopyStem + "1"], kJob);
  EXPECT_EQ(files.files[job_directory::kJobFileName], "##1");
}

TEST_F(KvitraRunTest, ArchiveThatCannotBeCreatedStillWritesTheResultLine) {
  env.documentsFolder = NativePath("//server/share/Documents");
  files.refusedDirectories.insert(NativePath("//server"));
  EXPECT_EQ(RunWith(Returning(5)), RunOutcome::Close);
  EXPECT_EQ(files.files.size(), 1u);
  EXPECT_EQ(files.files[job_directory::kJobFileName], "##5");
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(KvitraRunTest, UnknownDocumentsFolderArchivesAtTheRoot) {
  env.documentsFolder = "";
  RunWith(Returning(1));
  EXPECT_EQ(files.files[NativePath("/KVITRA/PAR_2021-09-13T10_11_28.1")], kJob);
}

TEST_F(KvitraRunTest, JobFileNamedInOtherLetterCase) {
  files.files.clear();
  files.files["fak_dane.dat"] = kJob;
  RunWith(Returning(3));
  EXPECT_EQ(files.files["fak_dane.dat"], "##3");
  EXPECT_EQ(files.files[kCopyStem + "3"], kJob);
  EXPECT_FALSE(files.files.count(job_directory::kJobFileName));
}

TEST_F(KvitraRunTest, ResultLineFailuresStayAsErrorWindow) {
  struct Case {
    platform::WriteResult result;
    std::string suffix;
  };
  const Case cases[] = {{platform::WriteResult::CreateFailed, "\n(utw. pliku)"},
                        {platform::WriteResult::WriteFailed, "\n(zapis)"}};
  for (const Case& c : cases) {
    ui.errors.clear();
    files.replaceResult = c.result;
    EXPECT_EQ(RunWith(Returning(1)), RunOutcome::ErrorWindow);
    EXPECT_EQ(ui.errors, std::vector<std::string>{messages::kErrDataFile + c.suffix});
    EXPECT_EQ(files.files[job_directory::kJobFileName], kJob);
  }
}

TEST_F(KvitraRunTest, JobSeesTheSettingsOfThisRun) {
  files.files[NativePath("/opt/zembrano/STAWG.DAT")] = "";
  store.key.values["Code_Page"] = testing_support::StringValue("Latin2");
  store.key.values["COM_Speed"] = testing_support::DwordValue(19200);
  PrinterSettings seen;
  RunWith([&](JobContext& job) {
    seen = job.settings;
    return 0;
  });
  EXPECT_EQ(seen.exemptRateLetter, 'G');
  EXPECT_EQ(seen.converter, ToLatin2);
  EXPECT_EQ(seen.comSpeed, 19200);
  EXPECT_FALSE(seen.xonXoff);
}

}  // namespace
}  // namespace kvitra
