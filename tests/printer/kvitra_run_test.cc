// The run around the job: the settings it reads, what it does with the job's
// result code, and one whole run through a printer on the network.
#include "printer/kvitra_run.h"

#include <gtest/gtest.h>

#include "common/job_directory_files.h"
#include "printer/messages.h"
#include "printer/settings_reader.h"
#include "tests/support/fake_link_platform.h"

namespace kvitra {
namespace {

using testing_support::NativePath;

const std::string kJob = "\x01\r\nPARAGON\r\n\xA3\xF3\x64\x9F\r\n1\r\n";  // bytes, not text
const std::string kArchive = NativePath("/home/kasa/Documents/KVITRA");
const std::string kCopyStem = kArchive + NativePath("/PAR_2021-09-13T10_11_28.");

class FinishRunTest : public ::testing::Test {
 protected:
  FinishRunTest() {
    files.files[job_directory::kJobFileName] = kJob;
    files.directories.insert(NativePath("/home"));
  }
  RunOutcome Finish(int32_t code, const std::string& archive = kArchive) {
    return FinishRun(files, clock, ui, archive, code);
  }

  testing_support::VirtualClock clock;  // 10:11:28.450 on 13 September 2021
  testing_support::MemoryFiles files;
  testing_support::RecordingUi ui;
};

TEST_F(FinishRunTest, SuccessArchivesTheJobAndWritesTheResultLine) {
  struct Case {
    int32_t code;
    std::string line;
  };
  const Case cases[] = {{1, "##1"}, {417, "##417"}, {2147483647, "##2147483647"}, {-12, "##-12"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    files.files.clear();
    files.files[job_directory::kJobFileName] = kJob;
    EXPECT_EQ(Finish(c.code), RunOutcome::Close);
    EXPECT_EQ(files.files[job_directory::kJobFileName], c.line);
    std::string copy = kCopyStem + std::to_string(c.code);
    EXPECT_EQ(files.FilesIn(kArchive), std::vector<std::string>{copy});
    EXPECT_EQ(files.files[copy], kJob);
  }
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(FinishRunTest, FailedJobLeavesEverythingAsItWas) {
  EXPECT_EQ(Finish(0), RunOutcome::ErrorWindow);
  EXPECT_EQ(files.files[job_directory::kJobFileName], kJob);
  EXPECT_TRUE(files.madeDirectories.empty());
  EXPECT_EQ(files.files.size(), 1u);
  EXPECT_TRUE(ui.errors.empty()) << "the job has shown its own message";
}

TEST_F(FinishRunTest, SecondRunInTheSameSecondKeepsTheFirstCopy) {
  Finish(1);
  files.files[job_directory::kJobFileName] = "second job";
  clock.SetNow({2021, 9, 13, 10, 11, 28, 980});
  EXPECT_EQ(Finish(1), RunOutcome::Close);
  EXPECT_EQ(files.files[kCopyStem + "1"], kJob);
  EXPECT_EQ(files.files[job_directory::kJobFileName], "##1");
}

TEST_F(FinishRunTest, ArchiveThatCannotBeCreatedStillWritesTheResultLine) {
  files.refusedDirectories.insert(NativePath("//server"));
  EXPECT_EQ(Finish(5, NativePath("//server/share/Documents/KVITRA")), RunOutcome::Close);
  EXPECT_EQ(files.files.size(), 1u);
  EXPECT_EQ(files.files[job_directory::kJobFileName], "##5");
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(FinishRunTest, JobFileNamedInOtherLetterCase) {
  files.files.clear();
  files.files["fak_dane.dat"] = kJob;
  Finish(3);
  EXPECT_EQ(files.files["fak_dane.dat"], "##3");
  EXPECT_EQ(files.files[kCopyStem + "3"], kJob);
  EXPECT_FALSE(files.files.count(job_directory::kJobFileName));
}

TEST_F(FinishRunTest, ResultLineFailuresStayAsErrorWindow) {
  struct Case {
    platform::FailureKind failure;
    std::string suffix;
  };
  const Case cases[] = {{platform::FailureKind::CreateFailed, "\n(utw. pliku)"},
                        {platform::FailureKind::WriteFailed, "\n(zapis)"}};
  for (const Case& c : cases) {
    ui.errors.clear();
    files.replaceFailure = c.failure;
    EXPECT_EQ(Finish(1), RunOutcome::ErrorWindow);
    EXPECT_EQ(ui.errors, std::vector<std::string>{messages::kErrDataFile + c.suffix});
    EXPECT_EQ(files.files[job_directory::kJobFileName], kJob);
  }
}

TEST(RunSettingsTest, TheRunReadsTheMarkerFilesAndTheStore) {
  testing_support::MemoryFiles files;
  testing_support::FakeEnvironment env;
  testing_support::FakeSettingsStore store;
  files.files[NativePath("/opt/zembrano/STAWG.DAT")] = "";
  store.key.values["Code_Page"] = testing_support::StringValue("Latin2");
  store.key.values["COM_Speed"] = testing_support::DwordValue(19200);
  const PrinterSettings settings = ReadRunSettings(files, env, store);
  EXPECT_EQ(settings.exemptRateLetter, 'G');
  EXPECT_EQ(settings.converter, ToLatin2);
  EXPECT_EQ(settings.comSpeed, 19200);
  EXPECT_FALSE(settings.xonXoff);
}

// The whole run: a daily report through a printer on the network, and a
// run without PORT.CFG.
TEST(KvitraRunTest, AWholeRunEndsWithTheResultLineOrTheErrorWindow) {
  testing_support::FakeLinkPlatform platform;
  platform.env.documentsFolder = NativePath("/home/kasa/Documents");
  platform.files.directories.insert(NativePath("/home"));
  platform.files.Put(job_directory::kJobFileName, "XY2\r\n");
  KvitraRun run(platform.Platform());
  EXPECT_EQ(run.Run(platform.ui), RunOutcome::ErrorWindow);
  EXPECT_EQ(platform.ui.errors, std::vector<std::string>{messages::kErrPortConfig});

  platform.files.Put("PORT.CFG", "10.0.0.1:6001\r\n");
  platform.network.printerScript = "\x04";
  EXPECT_EQ(run.Run(platform.ui), RunOutcome::Close);
  EXPECT_EQ(platform.files.files[job_directory::kJobFileName], "##1");
  EXPECT_EQ(platform.files.FilesIn(kArchive).size(), 1u);
  EXPECT_EQ(platform.ui.errors.size(), 1u);
}

}  // namespace
}  // namespace kvitra
