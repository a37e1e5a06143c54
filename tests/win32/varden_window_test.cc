// Varden's Win32 window under Wine, with its world faked: the layout at 96
// dpi, the timers handing their ticks to the watcher, the close.
#include "shells/varden/win32/varden_window.h"

#include <gtest/gtest.h>

#include "shells/win32/dpi.h"
#include "shells/win32/labels.h"
#include "tests/support/fake_watcher_platform.h"
#include "tests/win32/message_pump.h"

namespace varden {
namespace {

using namespace testing_support;

constexpr char kJob[] = "1\r\nPOZYCJA;CHLEB;1;2.50\r\nSUMA;2.50\r\nEND\r\n";

class VardenWin32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { SKIP_WITHOUT_DISPLAY(); }
  ~VardenWin32WindowTest() override { TakeQuitMessage(); }

  VirtualClock clock;
  FakeRangeLocks locks;
  FakeJobFiles files;
  FakeLauncher launcher{clock};
  WatcherServices world{clock, locks, launcher, files, "C:\\ZEMBRANO",
                        [](const std::string& dir) { return dir + "\\KVITRA.EXE"; }};
};

TEST_F(VardenWin32WindowTest, LayoutAt96Dpi) {
  TVARD window(world, {"D:\\JOBS\\"});
  ASSERT_TRUE(window.CreateWindowAndControls());
  EXPECT_EQ(window.Logic().JobDir(), "D:\\JOBS");
  HWND handle = window.Handle();
  if (win32_shell::DpiForWindow(handle) != 96) GTEST_SKIP() << "the screen is not at 96 dpi";
  RECT bounds;
  GetWindowRect(handle, &bounds);
  EXPECT_EQ(bounds.left, 5);
  EXPECT_EQ(bounds.top, 5);
  EXPECT_EQ(bounds.right - bounds.left, 511);
  EXPECT_EQ(bounds.bottom - bounds.top, 214);
  EXPECT_FALSE(GetWindowLongW(handle, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_TRUE(GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_TOPMOST);

  const RECT panel = BoundsInParent(window.PanStronaTyt());
  EXPECT_EQ(panel.right - panel.left, 511);
  EXPECT_EQ(panel.bottom - panel.top, 214);
  struct Label {
    const char* name;
    HWND control;
    RECT bounds;
    LONG fontHeight;
    const wchar_t* text;
  };
  const TitlePanel& title = window.Panel();
  for (const Label& l : {Label{"Label5", title.Label5, {90, 51, 397, 119}, -48, L" VARDEN  "},
                         Label{"Label15", title.Label15, {331, 121, 457, 143}, -15, L"Wersja 1.3"},
                         Label{"Label4", title.Label4, {34, 145, 467, 167}, -19,
                               L"Obrobka danych danych drukarki fiskalnej"},
                         Label{"Label1", window.Label1, {48, 55, 465, 77}, -19,
                               L" OBSŁUGA SIECIOWA DRUKARKI FISKALNEJ "}}) {
    SCOPED_TRACE(l.name);
    const RECT b = BoundsInParent(l.control);
    EXPECT_EQ(b.left, l.bounds.left);
    EXPECT_EQ(b.top, l.bounds.top);
    EXPECT_EQ(b.bottom, l.bounds.bottom);
    // As wide as the layout says, wider only where the font needs it: no
    // text is cut off.
    EXPECT_GE(b.right, l.bounds.right);
    EXPECT_LE(win32_shell::TextExtent(l.control).cx, b.right - b.left);
    EXPECT_EQ(FontHeight(l.control), l.fontHeight);
    EXPECT_EQ(WindowText(l.control), l.text);
  }
  EXPECT_EQ(GetParent(window.Label1), handle);
  // The panel covers Label1 until it is hidden.
  EXPECT_EQ(ChildWindowFromPointEx(handle, {100, 60}, CWP_SKIPINVISIBLE), window.PanStronaTyt());
}

TEST_F(VardenWin32WindowTest, Timer1RunsAJobAndTheTitleShowsTheClockAgain) {
  locks.exists = false;
  files.Write("D:\\JOBS\\FAK_DANE.DAT", kJob);
  TVARD window(world, {"D:\\JOBS"});
  ASSERT_TRUE(window.CreateWindowAndControls());
  window.Show(SW_SHOWNOACTIVATE);
  EXPECT_TRUE(PumpUntil([&] { return launcher.records.size() == 1; }, 2000));
  PumpFor(150);
  const std::wstring title = WindowText(window.Handle());
  EXPECT_FALSE(title.empty());
  EXPECT_NE(title, L"WYSYLKA");
  EXPECT_NE(title, L"NASŁUCH");
}

TEST_F(VardenWin32WindowTest, Timer2HidesThePanelThenMinimises) {
  TVARD window(world, {});
  ASSERT_TRUE(window.CreateWindowAndControls());
  window.Show(SW_SHOWNOACTIVATE);
  EXPECT_TRUE(IsWindowVisible(window.PanStronaTyt()));
  SendMessageW(window.Handle(), WM_TIMER, TVARD::kTimer2, 0);
  EXPECT_FALSE(IsWindowVisible(window.PanStronaTyt()));
  EXPECT_TRUE(IsWindowVisible(window.Label1));
  EXPECT_FALSE(IsIconic(window.Handle()));
  SendMessageW(window.Handle(), WM_TIMER, TVARD::kTimer2, 0);
  EXPECT_TRUE(IsIconic(window.Handle()));
  EXPECT_FALSE(window.Logic().Timer2Enabled());
}

TEST_F(VardenWin32WindowTest, CloseEndsTheTicksAndTheLoopThenShutsDownUnderTheLock) {
  TVARD window(world, {"D:\\JOBS"});
  ASSERT_TRUE(window.CreateWindowAndControls());
  window.Show(SW_SHOWNOACTIVATE);
  PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
  files.Write("D:\\JOBS\\FAK_DANE.DAT", kJob);
  EXPECT_TRUE(PumpUntil([&] { return !window.Handle(); }, 1000));
  EXPECT_TRUE(TakeQuitMessage());
  PumpFor(300);
  EXPECT_TRUE(launcher.records.empty());
  window.PAM_KONIEC_PROG();
  EXPECT_EQ(locks.lockAttempts, 1);
  EXPECT_EQ(locks.unlocks, 1);
}

}  // namespace
}  // namespace varden
