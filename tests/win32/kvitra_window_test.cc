// Kvitra's Win32 window under Wine, with the run's world faked: the layout at
// 96 dpi, the one run at the first showing, the raising of the error window
// and the ways it closes.
#include "shells/kvitra/win32/kvitra_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/cp1250.h"
#include "shells/win32/dpi.h"
#include "tests/support/scripted_run.h"
#include "tests/win32/message_pump.h"

namespace {

using namespace testing_support;

class KvitraWin32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { SKIP_WITHOUT_DISPLAY(); }
  ~KvitraWin32WindowTest() override { TakeQuitMessage(); }

  // A created, hidden window whose run shows the given messages and ends as given.
  std::unique_ptr<TfrmKvitra> Window(std::vector<std::string> messages,
                                     kvitra::RunOutcome outcome = kvitra::RunOutcome::ErrorWindow) {
    run.messages = std::move(messages);
    run.outcome = outcome;
    auto window = std::make_unique<TfrmKvitra>(run);
    EXPECT_TRUE(window->CreateWindowAndControls());
    return window;
  }

  static bool Raised(TfrmKvitra& window) {
    HWND handle = window.Handle();
    return IsWindowVisible(handle) && !IsIconic(handle) && (GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_TOPMOST) &&
           GetActiveWindow() == handle;
  }

  ScriptedRun run;
};

TEST_F(KvitraWin32WindowTest, LayoutAt96Dpi) {
  auto window = Window({});
  HWND handle = window->Handle();
  if (win32_shell::DpiForWindow(handle) != 96) GTEST_SKIP() << "the screen is not at 96 dpi";
  RECT client;
  GetClientRect(handle, &client);
  EXPECT_EQ(client.right, 464);
  EXPECT_EQ(client.bottom, 80);
  const LONG style = GetWindowLongW(handle, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(WindowText(handle), L"Kvitra");

  const RECT button = BoundsInParent(window->btnOK);
  EXPECT_EQ(button.left, 204);
  EXPECT_EQ(button.top, 47);
  EXPECT_EQ(button.right - button.left, 75);
  EXPECT_EQ(button.bottom - button.top, 25);
  EXPECT_EQ(GetWindowLongW(window->btnOK, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(FontHeight(window->btnOK), -11);

  const RECT label = BoundsInParent(window->lblBlad);
  EXPECT_EQ(label.left, 8);
  EXPECT_EQ(label.top, 8);
  EXPECT_GT(label.right - label.left, 100);  // sized to its text
  EXPECT_EQ(FontHeight(window->lblBlad), -13);
  EXPECT_EQ(WindowText(window->lblBlad), L"Błąd przy drukowaniu paragonu!");

  // Centred on the screen's work area.
  RECT area, frame;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  GetWindowRect(handle, &frame);
  EXPECT_NEAR(frame.left + frame.right, area.left + area.right, 2);
  EXPECT_NEAR(frame.top + frame.bottom, area.top + area.bottom, 2);
}

TEST_F(KvitraWin32WindowTest, FailedRunStartedMinimisedRaisesItselfAgainAndAgain) {
  auto window = Window({"Port"});
  window->Show(SW_SHOWMINNOACTIVE);  // as the launcher starts it
  ASSERT_TRUE(PumpUntil([&] { return run.runs == 1; }, 2000));
  EXPECT_TRUE(PumpUntil([&] { return Raised(*window); }, 1500));
  ShowWindow(window->Handle(), SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(window->Handle()));
  EXPECT_TRUE(PumpUntil([&] { return Raised(*window); }, 1500));
  EXPECT_EQ(run.runs, 1);  // raising and activating start no second run
}

TEST_F(KvitraWin32WindowTest, LabelShowsTheLastMessageOnTwoLines) {
  auto window = Window({platform::Utf8ToCp1250("Błąd dostępu do konfiguracji portu"),
                        platform::Utf8ToCp1250("Błąd przy komunikacji z drukarką\n(zapis)")});
  const LONG oneLine = BoundsInParent(window->lblBlad).bottom - BoundsInParent(window->lblBlad).top;
  window->Show(SW_SHOWNORMAL);
  ASSERT_TRUE(PumpUntil([&] { return run.runs == 1; }, 2000));
  EXPECT_EQ(WindowText(window->lblBlad), L"Błąd przy komunikacji z drukarką\r\n(zapis)");
  const RECT label = BoundsInParent(window->lblBlad);
  EXPECT_GE(label.bottom - label.top, 2 * oneLine);
}

TEST_F(KvitraWin32WindowTest, FailureWithoutMessageStaysQuiet) {
  auto window = Window({});
  window->Show(SW_SHOWNORMAL);
  ASSERT_TRUE(PumpUntil([&] { return run.runs == 1; }, 2000));
  ShowWindow(window->Handle(), SW_HIDE);
  ShowWindow(window->Handle(), SW_SHOWNORMAL);
  SetActiveWindow(window->Handle());
  PumpFor(200);
  EXPECT_EQ(run.runs, 1);
  ShowWindow(window->Handle(), SW_MINIMIZE);
  PumpFor(1500);
  EXPECT_TRUE(IsIconic(window->Handle())) << "nothing raises the window of a run without a message";
  EXPECT_TRUE(IsWindow(window->Handle()));
}

TEST_F(KvitraWin32WindowTest, SuccessfulRunClosesTheWindowAndEndsTheLoop) {
  auto window = Window({}, kvitra::RunOutcome::Close);
  window->Show(SW_SHOWNORMAL);
  EXPECT_TRUE(PumpUntil([&] { return run.runs == 1 && !window->Handle(); }, 2000));
  EXPECT_TRUE(TakeQuitMessage());
}

TEST_F(KvitraWin32WindowTest, OkEnterCloseBoxAndCloseRequestAllClose) {
  const std::vector<std::pair<const char*, std::function<void(TfrmKvitra&)>>> ways = {
      {"OK click", [](TfrmKvitra& w) { SendMessageW(w.btnOK, BM_CLICK, 0, 0); }},
      {"Enter", [](TfrmKvitra&) { PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0); }},
      {"close box", [](TfrmKvitra& w) { PostMessageW(w.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"close request", [](TfrmKvitra& w) { PostMessageW(w.Handle(), WM_CLOSE, 0, 0); }},
  };
  for (const auto& [name, act] : ways) {
    SCOPED_TRACE(name);
    run.runs = 0;
    auto window = Window({"x"});
    window->Show(SW_SHOWNORMAL);
    ASSERT_TRUE(PumpUntil([&] { return run.runs == 1; }, 2000));
    SetForegroundWindow(window->Handle());
    PumpFor(50);
    act(*window);
    EXPECT_TRUE(PumpUntil([&] { return !window->Handle(); }, 1000, window->Handle()));
    EXPECT_TRUE(TakeQuitMessage());
  }
}

}  // namespace
