#pragma once
// Standard error captured by GoogleTest, as the test sees it: a Windows test
// binary has it in text mode, so its line ends lose their carriage returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace testing_support {

inline std::string CapturedStderr() {
  std::string text = ::testing::internal::GetCapturedStderr();
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

}  // namespace testing_support
