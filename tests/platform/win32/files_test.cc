// The files facility on Windows beyond the contract: the read-only
// attribute, 8-bit names.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "tests/platform/win32/scratch_dir.h"

namespace {

using platform::FailureKind;
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

TEST(Win32Files, ReplaceContentsRefusesAReadOnlyFile) {
  ScratchDir dir;
  const std::string job = dir / "FAK_DANE.DAT";
  ASSERT_TRUE(files.ReplaceContents(job, "job").ok());
  ASSERT_TRUE(::SetFileAttributesW(platform::win32::WideFromCp1250(job).c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(files.ReplaceContents(job, "##1").kind(), FailureKind::CreateFailed);
  ::SetFileAttributesW(platform::win32::WideFromCp1250(job).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(Contents(job), "job");
  EXPECT_EQ(EntriesIn(dir), 1u);
}

TEST(Win32Files, PathsAreWindows1250Bytes) {
  ScratchDir dir;
  const std::string polish = dir / "\xBF\xF3\xB3w";  // "żółw" in Windows-1250
  ASSERT_TRUE(files.MakeDirectory(polish).ok());
  EXPECT_TRUE(std::filesystem::is_directory(dir.native() / L"\u017C\u00F3\u0142w"));
  const std::string job = platform::JoinPath(polish, "FAK_DANE.DAT");
  ASSERT_TRUE(files.ReplaceContents(job, "##1").ok());
  ASSERT_TRUE(files.CopyNoReplace(job, platform::JoinPath(polish, "PAR_\xB9.1")).ok());
  EXPECT_TRUE(std::filesystem::exists(dir.native() / L"\u017C\u00F3\u0142w" / L"PAR_\u0105.1"));
}

}  // namespace
