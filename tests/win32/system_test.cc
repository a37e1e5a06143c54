// The clock, the system's error texts and the termination event on Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/termination_requests.h"
#include "platform/win32/system_error_text.h"

namespace {

TEST(Win32Clock, TicksFollowSleepAndLocalTimeIsTheSystems) {
  platform::Clock& clock = platform::SystemClock();
  const uint32_t start = clock.Ticks();
  clock.Sleep(100);
  const uint32_t elapsed = platform::ElapsedMs(start, clock.Ticks());
  EXPECT_GE(elapsed, 80u);  // GetTickCount moves in steps of up to 16 ms
  EXPECT_LT(elapsed, 2000u);

  SYSTEMTIME before{};
  ::GetLocalTime(&before);
  const platform::LocalDateTime now = clock.Now();
  EXPECT_EQ(now.year, before.wYear);
  EXPECT_EQ(now.month, before.wMonth);
  EXPECT_GE(now.hour * 60 + now.minute, before.wHour * 60 + before.wMinute);
}

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
  if (!::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, 0)) GTEST_SKIP() << "no console to send the event on";
  EXPECT_EQ(::WaitForSingleObject(event, 5000), WAIT_OBJECT_0);
  requests->Acknowledge();
  EXPECT_EQ(::WaitForSingleObject(event, 0), WAIT_TIMEOUT);
}

}  // namespace
