#include "shells/varden/qt/varden_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLocale>
#include <QPainter>
#include <QTime>
#include <qdrawutil.h>

#include "platform/cp1250.h"
#include "shells/qt/event_notifier.h"
#include "shells/qt/termination_notifier.h"
#include "shells/qt/timed_message_box.h"
#include "shells/qt/window_fonts.h"

namespace varden {
namespace {

constexpr int kTimer1IntervalMs = 100;
constexpr int kTimer2IntervalMs = 3000;

QString FromCp1250(const std::string& text) { return QString::fromStdString(platform::Cp1250ToUtf8(text)); }

using shell_qt::FontStyle;
using shell_qt::PixelFont;

// The blue title panel: a raised outer and a lowered inner bevel.
class BevelPanel : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect outer = rect();
    painter.fillRect(outer, QColor(0, 0, 255));
    qDrawShadePanel(&painter, outer, palette(), false, 1);
    qDrawShadePanel(&painter, outer.adjusted(1, 1, -1, -1), palette(), true, 1);
  }
};

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& bounds, const QFont& font,
                  const QColor* colour) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(bounds);
  label->setFont(font);
  label->setAttribute(Qt::WA_TranslucentBackground);
  if (colour) label->setStyleSheet(QString("color: %1; background: transparent;").arg(colour->name()));
  return label;
}

}  // namespace

TVARD::TVARD(const WatcherServices& services, const std::vector<std::string>& arguments)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      watcher_(services, echo_) {
  setObjectName("VARD");
  setFont(PixelFont(shell_qt::kDialogFamilies, 11));
  BuildControls();
  // Formatting through the locale costs more than the rest of a tick, and the
  // text changes once a second: it is made once a second.
  watcher_.SetClockFormatter([shown = QTime(), text = std::string()](const platform::LocalDateTime& now) mutable {
    const QTime time(now.hour, now.minute, now.second);
    if (time != shown || text.empty()) {
      shown = time;
      text = platform::Utf8ToCp1250(QLocale::system().toString(time, QLocale::LongFormat).toStdString());
    }
    return text;
  });
  KREACJA(arguments);

  connect(&Timer1, &QTimer::timeout, this, &TVARD::Timer1Timer);
  connect(&Timer2, &QTimer::timeout, this, &TVARD::Timer2Timer);
  Timer1.start(kTimer1IntervalMs);
  Timer2.start(kTimer2IntervalMs);

  qt_shell::OnTerminationRequest(*this, [this] { Close(); });
  if (platform::WaitableEvent* changes = watcher_.ChangeEvent())
    qt_shell::OnReady(*this, *changes, [this] { watcher_.OnDirectoryChanges(); });
}

TVARD::~TVARD() = default;

void TVARD::KREACJA(const std::vector<std::string>& arguments) {
  watcher_.KREACJA(arguments);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);
  setGeometry(5, 5, 511, 214);
}

void TVARD::BuildControls() {
  const QColor windowText = palette().color(QPalette::WindowText);
  Label1 = MakeLabel(this, "Label1", QString::fromUtf8(" OBSŁUGA SIECIOWA DRUKARKI FISKALNEJ "),
                     QRect(48, 55, 417, 22), PixelFont(shell_qt::kArialFamilies, 19, FontStyle::Bold), &windowText);

  PanStronaTyt = new BevelPanel(this);
  PanStronaTyt->setObjectName("PanStronaTyt");
  PanStronaTyt->setGeometry(0, 0, 511, 214);
  const QColor yellow(Qt::yellow);
  const QColor silver(192, 192, 192);
  Label5 = MakeLabel(PanStronaTyt, "Label5", " VARDEN  ", QRect(90, 51, 307, 68), PixelFont(shell_qt::kComicFamilies, 48, FontStyle::BoldItalic),
                     &yellow);
  Label15 = MakeLabel(PanStronaTyt, "Label15", "Wersja 1.3", QRect(331, 121, 126, 22),
                      PixelFont(shell_qt::kComicFamilies, 15, FontStyle::BoldItalic), &yellow);
  Label4 = MakeLabel(PanStronaTyt, "Label4", "Obrobka danych danych drukarki fiskalnej", QRect(34, 145, 433, 22),
                     PixelFont(shell_qt::kArialFamilies, 19, FontStyle::Bold), &silver);
  PanStronaTyt->raise();
}

void TVARD::Timer1Timer() { watcher_.Timer1Timer(); }

void TVARD::Timer2Timer() {
  watcher_.Timer2Timer();
  if (!watcher_.Timer2Enabled()) Timer2.stop();
}

void TVARD::closeEvent(QCloseEvent* event) {
  watcher_.OnClosing();
  Timer1.stop();
  Timer2.stop();
  event->accept();
}

void TVARD::PAM_KONIEC_PROG() {
  Timer1.stop();
  Timer2.stop();
  watcher_.PAM_KONIEC_PROG();
}

void TVARD::ShowError(const std::string& message) {
  ShowMessage(message, kErrorCaption, platform::MessageButtons::Ok, platform::MessageIcon::Stop);
}

platform::MessageAnswer TVARD::ShowMessage(const std::string& text, const std::string& caption,
                                           platform::MessageButtons buttons, platform::MessageIcon icon,
                                           uint32_t timeoutMs) {
  shell_qt::MessageBoxLook look;
  look.owner = isVisible() ? this : nullptr;
  look.staysOnTop = true;
  look.polishButtons = true;
  return shell_qt::ShowTimedMessageBox(text, caption, buttons, icon, timeoutMs, look);
}

void TVARD::SetTitle(const std::string& title) {
  if (title == shownTitle_) return;
  shownTitle_ = title;
  setWindowTitle(FromCp1250(title));
}

void TVARD::Minimise() { showMinimized(); }

void TVARD::ProcessEvents() { QCoreApplication::processEvents(); }

void TVARD::Close() {
  watcher_.OnClosing();
  close();
}

void TVARD::Beep() { QApplication::beep(); }

void TVARD::HideTitlePanel() { PanStronaTyt->hide(); }

}  // namespace varden
