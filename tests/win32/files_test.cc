// The files facility on Windows: share modes, atomic replacement, copies that
// never replace, 8-bit names.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "tests/win32/scratch_dir.h"

namespace {

using platform::ReadResult;
using platform::WriteResult;
using testing_support::Contents;
using testing_support::OpenedElsewhere;
using testing_support::ScratchDir;

platform::Files& files = platform::SystemFiles();

size_t EntriesIn(const ScratchDir& dir) {
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.native())) {
    (void)entry;
    ++count;
  }
  return count;
}

TEST(Win32Files, ReplaceContentsReplacesOrCreatesAndLeavesNoTemporaryFile) {
  ScratchDir dir;
  const std::string job = dir / "FAK_DANE.DAT";
  ASSERT_EQ(files.ReplaceContents(job, "job of the host\r\n"), WriteResult::Ok);
  ASSERT_EQ(files.ReplaceContents(job, "##1"), WriteResult::Ok);
  EXPECT_EQ(Contents(job), "##1");
  EXPECT_EQ(EntriesIn(dir), 1u);
}

TEST(Win32Files, ReplaceContentsRefusesWhatCouldNotBeWrittenInPlace) {
  ScratchDir dir;
  const std::string job = dir / "FAK_DANE.DAT";
  ASSERT_EQ(files.ReplaceContents(job, "job"), WriteResult::Ok);
  {
    // The host still has its job open without sharing.
    OpenedElsewhere host(job, GENERIC_READ, 0);
    ASSERT_TRUE(host.ok());
    EXPECT_EQ(files.ReplaceContents(job, "##1"), WriteResult::CreateFailed);
  }
  ASSERT_TRUE(::SetFileAttributesW(platform::win32::WideFromCp1250(job).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(files.ReplaceContents(job, "##1"), WriteResult::CreateFailed);
  ::SetFileAttributesW(platform::win32::WideFromCp1250(job).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Contents(job), "job");

  ASSERT_TRUE(files.MakeDirectory(dir / "folder"));
  EXPECT_EQ(files.ReplaceContents(dir / "folder", "##1"), WriteResult::CreateFailed);
  EXPECT_EQ(files.ReplaceContents(dir / "missing\\FAK_DANE.DAT", "##1"), WriteResult::CreateFailed);
  EXPECT_EQ(EntriesIn(dir), 2u);
}

TEST(Win32Files, JobFilesOpenOnlyWhileNobodyElseHasThemOpen) {
  ScratchDir dir;
  const std::string config = dir / "PORT.CFG";
  ASSERT_EQ(files.ReplaceContents(config, "COM1\r\n01;3000;300;6000\r\n"), WriteResult::Ok);
  std::string out;
  {
    OpenedElsewhere host(config, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(host.ok());
    EXPECT_EQ(files.OpenRead(config), nullptr);
    EXPECT_EQ(files.ReadPrefix(config, 100, out), ReadResult::OpenFailed);
  }
  EXPECT_EQ(files.ReadPrefix(config, 4, out), ReadResult::Ok);
  EXPECT_EQ(out, "COM1");
  std::unique_ptr<platform::InputFile> input = files.OpenRead(config);
  ASSERT_NE(input, nullptr);
  char buffer[64];
  EXPECT_EQ(input->Read(buffer, sizeof buffer), 24);
  EXPECT_EQ(input->Read(buffer, sizeof buffer), 0);
  EXPECT_EQ(files.ReadPrefix(dir / "MISSING.CFG", 100, out), ReadResult::OpenFailed);
  EXPECT_EQ(files.ReadPrefix(dir.path(), 100, out), ReadResult::OpenFailed);
}

TEST(Win32Files, CopyNoReplaceCopiesWholeAndNeverReplaces) {
  ScratchDir dir;
  const std::string job = dir / "FAK_DANE.DAT";
  const std::string copy = dir / "PAR_2021-09-13T10_11_28.1";
  const std::string big(200 * 1024, 'x');  // more than one copy step
  ASSERT_EQ(files.ReplaceContents(job, big), WriteResult::Ok);
  ASSERT_TRUE(files.CopyNoReplace(job, copy));
  EXPECT_EQ(Contents(copy), big);
  ASSERT_EQ(files.ReplaceContents(job, "second job"), WriteResult::Ok);
  EXPECT_FALSE(files.CopyNoReplace(job, copy));
  EXPECT_EQ(Contents(copy), big);
  EXPECT_FALSE(files.CopyNoReplace(dir / "MISSING.DAT", dir / "PAR_other.1"));
  EXPECT_EQ(EntriesIn(dir), 2u);
}

TEST(Win32Files, NamesMatchInAnyLetterCaseAndDirectoriesAreNoFiles) {
  ScratchDir dir;
  ASSERT_EQ(files.ReplaceContents(dir / "fak_dane.dat", "job"), WriteResult::Ok);
  const std::string upper = files.ResolveName(dir / "FAK_DANE.DAT");
  EXPECT_TRUE(files.FileExists(upper));
  std::string out;
  EXPECT_EQ(files.ReadPrefix(upper, 10, out), ReadResult::Ok);
  EXPECT_EQ(out, "job");

  EXPECT_TRUE(files.MakeDirectory(dir / "KVITRA"));
  EXPECT_FALSE(files.MakeDirectory(dir / "KVITRA"));
  EXPECT_FALSE(files.MakeDirectory(dir / "missing\\KVITRA"));
  EXPECT_TRUE(files.DirectoryExists(dir / "kvitra"));
  EXPECT_FALSE(files.FileExists(dir / "KVITRA"));
  EXPECT_FALSE(files.DirectoryExists(dir / "fak_dane.dat"));
}

TEST(Win32Files, PathsAreWindows1250Bytes) {
  ScratchDir dir;
  const std::string polish = dir / "\xBF\xF3\xB3w";  // "żółw" in Windows-1250
  ASSERT_TRUE(files.MakeDirectory(polish));
  EXPECT_TRUE(std::filesystem::is_directory(dir.native() / L"\u017C\u00F3\u0142w"));
  const std::string job = platform::JoinPath(polish, "FAK_DANE.DAT");
  ASSERT_EQ(files.ReplaceContents(job, "##1"), WriteResult::Ok);
  ASSERT_TRUE(files.CopyNoReplace(job, platform::JoinPath(polish, "PAR_\xB9.1")));
  EXPECT_TRUE(std::filesystem::exists(dir.native() / L"\u017C\u00F3\u0142w" / L"PAR_\u0105.1"));
}

}  // namespace
