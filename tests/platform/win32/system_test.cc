// The system's error texts on Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/system_error_text.h"

namespace {

TEST(Win32SystemErrorText, IsTheSystemsTextWithoutLineEnd) {
  const std::string text = platform::win32::SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
  EXPECT_NE(text.rfind("error ", 0), 0u) << text;
  EXPECT_EQ(platform::win32::SystemErrorText(0xDEADBEEF), "error 3735928559");
}

}  // namespace
