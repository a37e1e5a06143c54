#include "printer/echoing_ui.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/captured_stderr.h"
#include "tests/support/recording_ui.h"

namespace kvitra {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

using testing_support::CapturedStderr;

const std::string kCp1250 = "B\xB3\xB9\x64 \xA3\xF3\x64\x9F";  // "Błąd Łódź"
const std::string kUtf8 = "B\xC5\x82\xC4\x85" "d \xC5\x81\xC3\xB3" "d\xC5\xBA";

TEST(EchoingUiTest, EchoesEveryShownTextOnceAndForwardsIt) {
  testing_support::RecordingUi window;
  window.answers = {MessageAnswer::Retry};
  EchoingUi ui(window);

  ::testing::internal::CaptureStderr();
  ui.ShowError(kCp1250);
  EXPECT_EQ(ui.ShowMessage("Retry?", "Caption", MessageButtons::RetryCancel, MessageIcon::Stop, 250),
            MessageAnswer::Retry);
  ui.SetTitle("title");
  ui.Minimise();
  ui.Close();
  EXPECT_EQ(CapturedStderr(), kUtf8 + "\nRetry?\n");

  EXPECT_EQ(window.errors, std::vector<std::string>{kCp1250});
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].caption, "Caption");
  EXPECT_EQ(window.messages[0].buttons, MessageButtons::RetryCancel);
  EXPECT_EQ(window.messages[0].icon, MessageIcon::Stop);
  EXPECT_EQ(window.messages[0].timeoutMs, 250u);
  EXPECT_EQ(window.titles, std::vector<std::string>{"title"});
  EXPECT_EQ(window.minimiseCount, 1);
  EXPECT_EQ(window.closeCount, 1);
}

// Without a screen nobody answers: nothing may wait or retry for ever.
TEST(EchoingUiTest, WithoutAScreenStandardErrorIsTheWholeInterface) {
  NoScreenUi noScreen;
  EchoingUi ui(noScreen);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ui.ShowMessage("a", "", MessageButtons::Ok, MessageIcon::None, 0), MessageAnswer::Ok);
  EXPECT_EQ(ui.ShowMessage("b", "", MessageButtons::RetryCancel, MessageIcon::Stop, 0), MessageAnswer::Cancel);
  ui.ShowError("c");
  EXPECT_EQ(CapturedStderr(), "a\nb\nc\n");
}

}  // namespace
}  // namespace kvitra
