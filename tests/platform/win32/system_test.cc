// The system's error texts and the termination event on Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/termination_requests.h"
#include "platform/win32/system_error_text.h"

namespace {

TEST(Win32SystemErrorText, IsTheSystemsTextWithoutLineEnd) {
  const std::string text = platform::win32::SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
  EXPECT_NE(text.rfind("error ", 0), 0u) << text;
  EXPECT_EQ(platform::win32::SystemErrorText(0xDEADBEEF), "error 3735928559");
}

TEST(Win32TerminationRequests, AConsoleControlEventSetsTheEventUntilAcknowledged) {
  platform::WaitableEvent* requests = platform::TerminationRequests();
  ASSERT_NE(requests, nullptr);
  const HANDLE event = reinterpret_cast<HANDLE>(requests->NativeHandle());
  EXPECT_EQ(::WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  // Under Wine a test has the Unix standard handles and no console, and
  // AllocConsole is refused (error 5): the event can only be sent where a
  // console is attached.
  if (!::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0)) GTEST_SKIP() << "no console to send the event on";
  EXPECT_EQ(::WaitForSingleObject(event, 5000), WAIT_OBJECT_0);
  requests->Acknowledge();
  EXPECT_EQ(::WaitForSingleObject(event, 0), WAIT_TIMEOUT);
}

}  // namespace
