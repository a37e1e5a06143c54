#include "watcher/job_text.h"

#include <gtest/gtest.h>

#include <string>

#include "common/job_directory_files.h"
#include "platform/job_file_probe.h"
#include "platform/paths.h"
#include "tests/support/native_path.h"
#include "watcher/job_dir.h"

namespace varden {
namespace {

using testing_support::NativePath;

struct TextCase {
  const char* name;
  std::string text;
  bool wholeFile;
  bool hasFourLines;
  int32_t sum;
};

class ScanJobTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ScanJobTextTest, CountsLinesAndSumsTheFirstFour) {
  const TextCase& c = GetParam();
  const JobTextHead head = ScanJobText(c.text, c.wholeFile);
  EXPECT_EQ(head.hasFourLines, c.hasFourLines);
  if (c.hasFourLines) {
    EXPECT_EQ(head.sum, c.sum);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScanJobTextTest,
    ::testing::Values(
        TextCase{"ThreeLines", "a\nb\nc", true, false, 0},
        TextCase{"ThreeLinesEndingInBreak", "a\nb\nc\n", true, false, 0},
        TextCase{"FourLinesNoFinalBreak", "a\nb\nc\nd", true, true, 'a' + 'b' + 'c' + 'd'},
        TextCase{"FifthLineNotSummed", "a\r\nb\r\nc\r\nd\r\nzzzz", true, true, 'a' + 'b' + 'c' + 'd'},
        TextCase{"MixedBreaks", "a\rb\nc\r\nd\n", true, true, 'a' + 'b' + 'c' + 'd'},
        // LF CR is two breaks: the empty line between counts
        TextCase{"LfCrIsTwoBreaks", "a\n\rb\nc", true, true, 'a' + 'b' + 'c'},
        TextCase{"EmptyLinesCount", "\n\n\n\n", true, true, 0},
        TextCase{"HighBytesCountNegative", "\xB9\nb\nc\nd\n", true, true, -71 + 'b' + 'c' + 'd'},
        TextCase{"AllHighBytes", "\x80\xFF\n\x80\n\x80\n\x80", true, true, -128 - 1 - 128 * 3},
        // Only the beginning of a larger file: an unterminated line may go on
        TextCase{"PrefixWithOpenFourthLine", "a\nb\nc\nd", false, false, 0},
        TextCase{"PrefixWithFourEndedLines", "a\nb\nc\nd\nxx", false, true, 'a' + 'b' + 'c' + 'd'},
        TextCase{"PrefixEndingInCr", "a\nb\nc\nd\r", false, true, 'a' + 'b' + 'c' + 'd'},
        TextCase{"Empty", "", true, false, 0}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(JobDirTest, OneArgumentReplacesTheDefault) {
  const std::string def = NativePath("/opt/zembrano");
  EXPECT_EQ(JobDirFromArguments(def, {}), def);
  EXPECT_EQ(JobDirFromArguments(def, {NativePath("/a"), NativePath("/b")}), def);
  EXPECT_EQ(JobDirFromArguments(def, {NativePath("/srv/jobs/")}), NativePath("/srv/jobs"));
  EXPECT_EQ(JobDirFromArguments(def, {NativePath("/srv/jobs//")}), NativePath("/srv/jobs/"));
  EXPECT_EQ(JobDirFromArguments(def, {NativePath("/srv/my jobs")}), NativePath("/srv/my jobs"));
  // The root gives an empty directory, and its files are still /FAK_DANE.DAT
  EXPECT_EQ(JobDirFromArguments(def, {NativePath("/")}), "");
  EXPECT_EQ(platform::JoinPath("", job_directory::kJobFileName), NativePath("/FAK_DANE.DAT"));
}

TEST(DosDateTimeTest, PacksLocalTimeInTwoSecondSteps) {
  // 2021-09-13 10:11:29 -> date 0x532D, time 0x516E
  EXPECT_EQ(platform::EncodeDosDateTime({2021, 9, 13, 10, 11, 29, 0}), 0x532D516Eu);
  EXPECT_EQ(platform::EncodeDosDateTime({2021, 9, 13, 10, 11, 28, 999}),
            platform::EncodeDosDateTime({2021, 9, 13, 10, 11, 29, 0}));
  EXPECT_EQ(platform::EncodeDosDateTime({1980, 1, 1, 0, 0, 0, 0}), 0x00210000u);
  EXPECT_EQ(platform::EncodeDosDateTime({1979, 12, 31, 23, 59, 59, 0}), platform::kNoDosDateTime);
}

}  // namespace
}  // namespace varden
