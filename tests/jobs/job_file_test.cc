#include "printer/jobs/job_file.h"

#include <gtest/gtest.h>

#include "common/job_directory_files.h"
#include "platform/cp1250.h"
#include "printer/jobs/derived_texts.h"
#include "tests/jobs/job_fixture.h"

namespace {

using kvitra::LineRead;
using testing_support::NativePath;

class JobFileTest : public jobs_test::JobTest {
 protected:
  std::unique_ptr<kvitra::JobFile> Open(const std::string& bytes) {
    files.Put(job_directory::kJobFileName, bytes);
    return HostFiles().Open(job_directory::kJobFileName);
  }
};

TEST_F(JobFileTest, ReadsLinesEndedByCarriageReturnAndOneMoreByte) {
  auto file = Open("first\r\n\r\nbare\rXsecond\r\nlast");
  std::string line;
  const char* expected[] = {"first", "", "bare", "second"};
  for (const char* text : expected) {
    ASSERT_EQ(file->ReadLine(line), LineRead::Ok);
    EXPECT_EQ(line, text);
  }
  EXPECT_EQ(file->ReadLine(line), LineRead::Missing) << "a last line without CR is no line";
}

TEST_F(JobFileTest, AResultLineOfAnEarlierRunIsNoLine) {
  auto file = Open("##417");
  std::string line;
  EXPECT_EQ(file->ReadLine(line), LineRead::Missing);
}

TEST_F(JobFileTest, ALineLongerThanItsBufferIsRefusedWithoutOverflow) {
  auto file = Open(std::string(1023, 'a') + "\r\n" + std::string(1024, 'b') + "\r\n");
  std::string line;
  ASSERT_EQ(file->ReadLine(line), LineRead::Ok);
  EXPECT_EQ(line.size(), 1023u);
  char small[8];
  small[7] = '#';
  EXPECT_EQ(file->ReadJobLine(small, 7), LineRead::TooLong);
  EXPECT_EQ(small[7], '#');
}

TEST_F(JobFileTest, AReadErrorEndsTheLines) {
  files.FailReadAt(job_directory::kJobFileName, 4);
  auto file = Open("abc\r\ndef\r\n");
  std::string line;
  ASSERT_EQ(file->ReadLine(line), LineRead::Ok);
  EXPECT_EQ(file->ReadLine(line), LineRead::Missing);
}

TEST_F(JobFileTest, ConvertsEveryLineToThePrinterCharacterSet) {
  converter = kvitra::ToMazovia;
  const std::string written = platform::Utf8ToCp1250("gęślą jaźń");
  auto file = Open(written + "\r\n");
  std::string line;
  ASSERT_EQ(file->ReadLine(line), LineRead::Ok);
  std::string expected = written;
  kvitra::ToMazovia(expected.data());
  EXPECT_EQ(line, expected);
  EXPECT_NE(line, written);
}

TEST_F(JobFileTest, FindsFilesWhoseNameDiffersInLetterCase) {
  files.Put("fak_dane.dat", "x\r\n");
  EXPECT_NE(HostFiles().Open(job_directory::kJobFileName), nullptr);
  files.Put("Paragnip.Dat", "PL 123\r\n");
  std::string nip;
  EXPECT_EQ(HostFiles().ReadSideFileLine("PARAGNIP.DAT", nip), kvitra::SideFile::Ok);
  EXPECT_EQ(nip, "PL 123");
}

TEST_F(JobFileTest, SideFileStates) {
  std::string line;
  kvitra::JobFiles host = HostFiles();
  EXPECT_EQ(host.ReadSideFileLine("PLATNOSC.DAT", line), kvitra::SideFile::Absent);
  files.Put("PLATNOSC.DAT", "Karta");
  EXPECT_EQ(host.ReadSideFileLine("PLATNOSC.DAT", line), kvitra::SideFile::ReadFailed);
  files.MakeUnopenable("PLATNOSC.DAT");
  EXPECT_EQ(host.ReadSideFileLine("PLATNOSC.DAT", line), kvitra::SideFile::OpenFailed);
  EXPECT_EQ(files.OpenCount(), 0);
}

TEST_F(JobFileTest, TheMarkerIsLookedForInTheHostDirectory) {
  env.zembranoDir = NativePath("/srv/host");
  EXPECT_FALSE(HostFiles().NoCashInfoMarkerExists());
  files.Put(NativePath("/srv/host/bezpotpa.dat"), "");
  EXPECT_TRUE(HostFiles().NoCashInfoMarkerExists());
}

TEST(DerivedTexts, InspectionCode) {
  struct Case { const char* line; const char* code; };
  const Case cases[] = {
      {"12345/2024", ".. 1234524"},
      {"ABC12345/2024", ".. 1234524"},
      {"12345/2024\tmore", ".. 1234524"},
      {"PARAG 00417", ".. P00417"},
      {"PARAG 00417\tx", ".. P00417"},
      {"PARAG", ".. P"},
      {"12345/2", ".. 12345"},
      {"12345/2024/0001", ".. 1234524/0001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    auto code = kvitra::InspectionCode(c.line);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, c.code);
  }
  for (const char* unusable : {"1234/2024", "", "12345", "PARA 1"})
    EXPECT_FALSE(kvitra::InspectionCode(unusable).has_value()) << unusable;
}

TEST(DerivedTexts, CashierCode) {
  EXPECT_EQ(kvitra::CashierCode("A1"), "A1 ");
  EXPECT_EQ(kvitra::CashierCode("B07X"), "B07");
  EXPECT_EQ(kvitra::CashierCode(""), "   ");
}

TEST(DerivedTexts, HeaderText) {
  EXPECT_EQ(kvitra::HeaderText("XY0 DESK/ADESK 1"), "DESK 1");
  EXPECT_EQ(kvitra::HeaderText("XY0/A" + std::string("abcdefghijklmnopqrst")), "abcdefghijklmnopq");
  EXPECT_EQ(kvitra::HeaderText("XY0/A"), "");
  EXPECT_EQ(kvitra::HeaderText("XY0/"), "");
  EXPECT_EQ(kvitra::HeaderText("a/b/cTAIL"), "TAIL") << "taken from the last '/'";
  EXPECT_FALSE(kvitra::HeaderText("XY0 no slash").has_value());
}

}  // namespace
