// The shared message box under Wine: the time limit and the answers.
#include "shells/win32/message_box.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/win32/message_pump.h"

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

// Presses `button` in the box with `caption` once it is on screen, from
// another thread, as a user would.
class BoxPresser {
 public:
  BoxPresser(const wchar_t* caption, int button)
      : thread_([this, caption, button] {
          for (int i = 0; i < 500 && !stop_; ++i) {
            if (HWND box = FindWindowW(L"#32770", caption)) {
              PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
              return;
            }
            Sleep(10);
          }
        }) {}
  ~BoxPresser() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST(Win32MessageBoxTest, TimedBoxClosesItselfWhenNobodyAnswers) {
  SKIP_WITHOUT_DISPLAY();
  const DWORD start = GetTickCount();
  EXPECT_EQ(win32_shell::ShowMessageBox(nullptr, "KOD 5", "BOX", MessageButtons::RetryCancel, MessageIcon::Stop,
                                        300, {MB_SYSTEMMODAL, win32_shell::kPolishLanguage}),
            MessageAnswer::TimedOut);
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 250u);
  EXPECT_LT(elapsed, 5000u);
}

TEST(Win32MessageBoxTest, ButtonsAnswerWithAndWithoutTimeLimit) {
  SKIP_WITHOUT_DISPLAY();
  struct Case {
    int button;
    uint32_t timeoutMs;
    MessageAnswer answer;
  };
  for (const Case& c : {Case{IDRETRY, 20000, MessageAnswer::Retry}, Case{IDCANCEL, 20000, MessageAnswer::Cancel},
                        Case{IDRETRY, 0, MessageAnswer::Retry}, Case{IDCANCEL, 0, MessageAnswer::Cancel}}) {
    SCOPED_TRACE(testing::Message() << "button " << c.button << ", time limit " << c.timeoutMs);
    BoxPresser presser(L"PRESSED", c.button);
    EXPECT_EQ(win32_shell::ShowMessageBox(nullptr, "?", "PRESSED", MessageButtons::RetryCancel, MessageIcon::Stop,
                                          c.timeoutMs, {}),
              c.answer);
  }
}

}  // namespace
