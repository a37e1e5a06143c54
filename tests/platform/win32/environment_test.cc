#include "platform/environment.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

platform::Environment& env = platform::SystemEnvironment();

// Sets (or, with nullptr, removes) a variable of this process for one test.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
    ::SetEnvironmentVariableW(name, value);
  }
  ~ScopedVariable() { ::SetEnvironmentVariableW(name_, nullptr); }

 private:
  const wchar_t* name_;
};

TEST(Win32Environment, ZembranoDirIsTheVariableWithoutItsTrailingSeparatorsElseTheDefault) {
  {
    ScopedVariable unset(L"ZEMBRANO_DIR", nullptr);
    EXPECT_EQ(env.ZembranoDir(), "C:\\ZEMBRANO");
  }
  {
    ScopedVariable empty(L"ZEMBRANO_DIR", L"");
    EXPECT_EQ(env.ZembranoDir(), "C:\\ZEMBRANO");
  }
  ScopedVariable set(L"ZEMBRANO_DIR", L"D:\\Host\\");
  EXPECT_EQ(env.ZembranoDir(), "D:\\Host");
}

TEST(Win32Environment, VariablesAreWindows1250AndAnEmptyOneIsThere) {
  ScopedVariable polish(L"KVITRA_TEST_VALUE", L"\u0105\u017C");
  EXPECT_EQ(env.Variable("KVITRA_TEST_VALUE"), "\xB9\xBF");
  ScopedVariable empty(L"KVITRA_TEST_EMPTY", L"");
  EXPECT_EQ(env.Variable("KVITRA_TEST_EMPTY"), "");
  EXPECT_EQ(env.Variable("KVITRA_TEST_UNSET"), std::nullopt);
}

TEST(Win32Environment, DocumentsFolderIsTheShellsAndThereIsAlwaysAScreen) {
  const std::string documents = env.DocumentsFolder();
  ASSERT_GE(documents.size(), 3u);
  EXPECT_EQ(documents.substr(1, 2), ":\\");
  EXPECT_EQ(::GetFileAttributesA(documents.c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_TRUE(env.HasScreen());
}

}  // namespace
