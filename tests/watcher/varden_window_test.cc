// The window under the offscreen platform, with Varden's world faked.
#include "shells/varden/qt/varden_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "common/job_directory_files.h"
#include "platform/paths.h"
#include "tests/support/fake_watcher_platform.h"
#include "tests/support/text_width.h"

// Fontconfig keeps a few caches for the life of the process; they are not
// ours to free.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace varden {
namespace {

using namespace testing_support;

class VardenWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "varden_window_test";
    static char* argv[] = {name, nullptr};
    // Left alive to the end of the process: destroying it during exit
    // handlers crashes inside Qt.
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  static void RunEventsFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
  }

  VirtualClock clock;
  FakeRangeLocks locks;
  FakeJobFiles files;
  FakeLauncher launcher{clock};
  WatcherServices world{clock, locks, launcher, files, "/opt/zembrano",
                        [](const std::string&) { return "/usr/bin/kvitra"; }};
};

TEST_F(VardenWindowTest, StartsBorderlessOnTopWithTheTitlePanel) {
  TVARD window(world, {"/srv/jobs/"});
  EXPECT_EQ(window.geometry(), QRect(5, 5, 511, 214));
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(window.Logic().JobDir(), "/srv/jobs");
  window.show();
  EXPECT_TRUE(window.TitlePanel()->isVisible());
  auto* label1 = window.findChild<QLabel*>("Label1");
  ASSERT_NE(label1, nullptr);
  EXPECT_EQ(label1->text(), QString::fromUtf8(" OBSŁUGA SIECIOWA DRUKARKI FISKALNEJ "));
  window.HideTitlePanel();
  EXPECT_FALSE(window.TitlePanel()->isVisible());
  EXPECT_TRUE(label1->isVisible());
}

// A font change or a new text must never cut a label's text again unnoticed.
TEST_F(VardenWindowTest, EveryLabelShowsItsTextWhole) {
  TVARD window(world, {});
  for (const char* name : {"Label5", "Label15", "Label4", "Label1"}) {
    auto* label = window.findChild<QLabel*>(name);
    ASSERT_NE(label, nullptr) << name;
    EXPECT_LE(DrawnWidth(label->font(), label->text()), label->width())
        << name << " \"" << label->text().toStdString() << "\" in " << ResolvedFamily(label->font());
  }
}

TEST_F(VardenWindowTest, Timer1RunsAJobAndTheTitleShowsTheClockAgain) {
  locks.exists = false;
  files.Write(platform::JoinPath("/srv/jobs", job_directory::kJobFileName), "1\r\nPOZYCJA;CHLEB;1;2.50\r\nSUMA;2.50\r\nEND\r\n");
  TVARD window(world, {"/srv/jobs"});
  window.show();
  RunEventsFor(400);
  ASSERT_EQ(launcher.records.size(), 1u);
  EXPECT_FALSE(window.windowTitle().isEmpty());
  EXPECT_NE(window.windowTitle(), "WYSYLKA");
}

TEST_F(VardenWindowTest, ExitCodeBoxClosesItselfAndButtonsAnswer) {
  TVARD window(world, {});
  window.show();
  EXPECT_EQ(window.ShowMessage("KOD", "CAPTION", platform::MessageButtons::RetryCancel,
                               platform::MessageIcon::Stop, 50),
            platform::MessageAnswer::TimedOut);

  QTimer::singleShot(50, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    box->escapeButton()->click();
  });
  EXPECT_EQ(window.ShowMessage("X", "Y", platform::MessageButtons::RetryCancel, platform::MessageIcon::Stop),
            platform::MessageAnswer::Cancel);
}

TEST_F(VardenWindowTest, CloseEndsTheTicks) {
  TVARD window(world, {"/srv/jobs"});
  window.show();
  window.Close();
  files.Write(platform::JoinPath("/srv/jobs", job_directory::kJobFileName), "1\r\nPOZYCJA;CHLEB;1;2.50\r\nSUMA;2.50\r\nEND\r\n");
  RunEventsFor(300);
  EXPECT_TRUE(launcher.records.empty());
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace varden
