#include "watcher/echoing_shell.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/captured_stderr.h"
#include "tests/support/fake_watcher_platform.h"

namespace varden {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

using testing_support::CapturedStderr;

TEST(EchoingShellTest, EchoesBoxesWithTheirCaptionAndWritesTheLog) {
  testing_support::FakeWatcherShell window;
  window.answers = {MessageAnswer::TimedOut};
  EchoingShell shell(window);

  ::testing::internal::CaptureStderr();
  shell.ShowError("Brak pliku \xA3");
  EXPECT_EQ(shell.ShowMessage("KOD", "CAPTION", MessageButtons::RetryCancel, MessageIcon::Stop, 90),
            MessageAnswer::TimedOut);
  shell.Log("job \xB9");
  shell.SetTitle("t");
  shell.Beep();
  shell.HideTitlePanel();
  EXPECT_EQ(CapturedStderr(),
            "varden: VARDEN: Brak pliku \xC5\x81\n"
            "varden: CAPTION: KOD\n"
            "varden: job \xC4\x85\n");

  EXPECT_EQ(window.errors, std::vector<std::string>{"Brak pliku \xA3"});
  EXPECT_EQ(window.MessageTexts(), std::vector<std::string>{"KOD"});
  EXPECT_EQ(window.messages[0].timeoutMs, 90u);
  EXPECT_TRUE(window.log.empty());
  EXPECT_EQ(window.titles, std::vector<std::string>{"t"});
  EXPECT_EQ(window.beepCount, 1);
  EXPECT_EQ(window.hidePanelCount, 1);
}

}  // namespace
}  // namespace varden
