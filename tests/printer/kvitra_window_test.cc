// The window on the offscreen platform: the one run at the first showing,
// the error window's raising, and the ways it closes.
#include "shells/kvitra/qt/kvitra_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QAbstractButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include "platform/cp1250.h"
#include "printer/jobs/job_messages.h"
#include "printer/link/link_messages.h"
#include "printer/messages.h"
#include "tests/support/scripted_run.h"
#include "tests/support/text_width.h"

// The font library keeps caches for the life of the process; they are not
// this program's leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

using namespace testing_support;

QApplication& App() {
  static int argc = 1;
  static char name[] = "kvitra_window_test";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Processes events until `done` holds or `ms` have passed.
bool WaitUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class KvitraWindowTest : public ::testing::Test {
 protected:
  KvitraWindowTest() { App(); }

  // A window whose run shows the given messages and ends as given.
  std::unique_ptr<TfrmKvitra> Window(std::vector<std::string> messages,
                                     kvitra::RunOutcome outcome = kvitra::RunOutcome::ErrorWindow) {
    run.messages = std::move(messages);
    run.outcome = outcome;
    return std::make_unique<TfrmKvitra>(run);
  }

  static bool Raised(TfrmKvitra& window) {
    return window.isVisible() && !window.isMinimized() && (window.windowFlags() & Qt::WindowStaysOnTopHint) &&
           window.isActiveWindow();
  }

  ScriptedRun run;
};

TEST_F(KvitraWindowTest, FailedRunStartedMinimisedRaisesItselfAgainAndAgain) {
  auto window = Window({"Port"});
  window->showMinimized();
  ASSERT_TRUE(WaitUntil([&] { return run.runs == 1; }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return Raised(*window); }, 1500));
  window->showMinimized();
  EXPECT_TRUE(WaitUntil([&] { return window->isMinimized(); }, 500));
  EXPECT_TRUE(WaitUntil([&] { return Raised(*window); }, 1500));
  QWidget other;
  other.show();
  other.activateWindow();
  QApplication::setActiveWindow(&other);
  ASSERT_FALSE(window->isActiveWindow());
  EXPECT_TRUE(WaitUntil([&] { return Raised(*window); }, 1500));
  EXPECT_EQ(run.runs, 1);  // raising and activating start no second run
}

TEST_F(KvitraWindowTest, LabelShowsTheLastMessageOnTwoLines) {
  std::string first = platform::Utf8ToCp1250("Błąd dostępu do konfiguracji portu");
  std::string second = platform::Utf8ToCp1250("Błąd przy komunikacji z drukarką\n(zapis)");
  auto window = Window({first, second});
  EXPECT_EQ(window->lblBlad->text(), QString::fromUtf8("Błąd przy drukowaniu paragonu!"));
  window->show();
  ASSERT_TRUE(WaitUntil([&] { return run.runs == 1; }, 2000));
  EXPECT_EQ(window->lblBlad->text(), QString::fromUtf8("Błąd przy komunikacji z drukarką\n(zapis)"));
  EXPECT_GT(window->lblBlad->height(), window->lblBlad->fontMetrics().height());
  EXPECT_TRUE(window->Timer1->isActive());
}

TEST_F(KvitraWindowTest, FailureWithoutMessageStaysQuiet) {
  auto window = Window({});
  window->show();
  ASSERT_TRUE(WaitUntil([&] { return run.runs == 1; }, 2000));
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->Timer1->isActive());
  window->hide();
  window->show();
  window->activateWindow();
  WaitUntil([] { return false; }, 100);
  EXPECT_EQ(run.runs, 1);
}

TEST_F(KvitraWindowTest, SuccessfulRunClosesTheWindow) {
  auto window = Window({}, kvitra::RunOutcome::Close);
  window->show();
  EXPECT_TRUE(WaitUntil([&] { return run.runs == 1 && !window->isVisible(); }, 2000));
}

TEST_F(KvitraWindowTest, OkEnterAndCloseRequestAllClose) {
  const std::vector<std::pair<const char*, std::function<void(TfrmKvitra&)>>> ways = {
      {"OK click", [](TfrmKvitra& w) { w.btnOK->click(); }},
      {"Enter", [](TfrmKvitra& w) {
         QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
         QApplication::sendEvent(&w, &press);
       }},
      {"close box or request", [](TfrmKvitra& w) { w.close(); }},
  };
  for (const auto& [name, act] : ways) {
    SCOPED_TRACE(name);
    auto window = Window({"x"});
    window->show();
    ASSERT_TRUE(WaitUntil([&] { return run.runs > 0; }, 2000));
    run.runs = 0;
    act(*window);
    EXPECT_TRUE(WaitUntil([&] { return !window->isVisible(); }, 1000));
  }
}

TEST_F(KvitraWindowTest, MessageBoxAnswersAndTimesOut) {
  auto window = Window({});
  using platform::MessageAnswer;
  using platform::MessageButtons;
  EXPECT_EQ(window->ShowMessage("Unable to connect to server!", "", MessageButtons::Ok, platform::MessageIcon::Stop, 50),
            MessageAnswer::TimedOut);
  QTimer::singleShot(50, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box) box->button(QMessageBox::Retry)->click();
  });
  EXPECT_EQ(window->ShowMessage("text", "caption", MessageButtons::RetryCancel, platform::MessageIcon::None, 5000),
            MessageAnswer::Retry);
}

// Every message a job can show: each base message alone and with each suffix.
std::vector<std::string> EveryErrorMessage() {
  namespace m = kvitra::messages;
  const std::string bases[] = {m::kErrPortOpen, m::kErrPortTimeouts, m::kErrPortConfig, m::kErrPrinterComm,
                               m::kErrDataFile};
  const std::string suffixes[] = {
      m::kSuffixCreateFile, m::kSuffixWrite,   m::kOpenJobFile,      m::kReadJobFile,    m::kOpenNipFile,
      m::kReadNipFile,      m::kOpenPaymentFile, m::kReadPaymentFile, m::kGeneral1,      m::kGeneral2,
      m::kGeneral3,         m::kDate,          m::kInspection,       m::kCashier,        m::kCount,
      m::kPriceListCode,    m::kPayoutCode,    m::kPositionName,     m::kGrossPrice,     m::kTotal,
      m::kReceiptStart,     m::kReceiptLine,   m::kNipPrint,         m::kReceiptClose,   m::kDrawer,
      m::kCashInfoRequest,  m::kCashInfoReply, m::kPayout,           m::kDailyReport,    m::kCashState,
      kvitra::link_messages::kSuffixErrorMode};
  std::vector<std::string> all;
  for (const std::string& base : bases) {
    all.push_back(base);
    for (const std::string& suffix : suffixes) all.push_back(base + suffix);
  }
  return all;
}

// A font change or a new message must never cut a text again unnoticed.
TEST_F(KvitraWindowTest, EveryMessageFitsTheWindow) {
  auto window = Window({});
  QLabel& label = *window->lblBlad;
  for (const std::string& message : EveryErrorMessage()) {
    window->ShowError(message);
    const QString shown = label.text();
    EXPECT_LE(label.x() + DrawnWidth(label.font(), shown), window->width())
        << shown.toStdString() << " in " << ResolvedFamily(label.font());
  }
}

TEST_F(KvitraWindowTest, LayoutIsFixed) {
  auto window = Window({});
  EXPECT_EQ(window->size(), QSize(464, 80));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->btnOK->geometry(), QRect(204, 47, 75, 25));
  EXPECT_EQ(window->lblBlad->pos(), QPoint(8, 8));
  EXPECT_TRUE(window->btnOK->isDefault());
  EXPECT_FALSE(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(window->Timer1->interval(), 1000);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Kvitra"));
}

}  // namespace
