#include "shells/kvitra/qt/kvitra_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "platform/cp1250.h"
#include "printer/messages.h"
#include "shells/qt/timed_message_box.h"
#include "shells/qt/window_fonts.h"

namespace {

constexpr int kClientWidth = 464;
constexpr int kClientHeight = 80;
constexpr int kRaisePeriodMs = 1000;

QString FromCp1250(const std::string& text) { return QString::fromStdString(platform::Cp1250ToUtf8(text)); }

}  // namespace

TfrmKvitra::TfrmKvitra(kvitra::JobRun& run, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      run_(run, *this) {
  BuildLayout();
}

void TfrmKvitra::BuildLayout() {
  setWindowTitle(QStringLiteral("Kvitra"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(shell_qt::PixelFont(shell_qt::kDialogFamilies, 11));
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);
  setAutoFillBackground(true);

  lblBlad = new QLabel(this);
  lblBlad->setObjectName(QStringLiteral("lblBlad"));
  lblBlad->setTextFormat(Qt::PlainText);
  lblBlad->setFont(shell_qt::PixelFont(shell_qt::kDialogFamilies, 13));
  lblBlad->move(8, 8);
  lblBlad->setText(FromCp1250(kvitra::messages::kInitialText));
  lblBlad->adjustSize();

  btnOK = new QPushButton(QStringLiteral("OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setGeometry(204, 47, 75, 25);
  btnOK->setDefault(true);
  btnOK->setFocus();
  connect(btnOK, &QPushButton::clicked, this, &TfrmKvitra::btnOKClick);

  Timer1 = new QTimer(this);
  Timer1->setInterval(kRaisePeriodMs);
  connect(Timer1, &QTimer::timeout, this, &TfrmKvitra::Timer1Timer);

  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2));
}

void TfrmKvitra::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Queued, so that the window is on screen (or on the task bar) before the
  // run blocks the event loop.
  if (run_.Shown()) QTimer::singleShot(0, this, &TfrmKvitra::FormActivate);
}

void TfrmKvitra::FormActivate() { run_.StartRun(); }

void TfrmKvitra::btnOKClick() { run_.Confirm(); }

void TfrmKvitra::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    btnOK->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TfrmKvitra::Timer1Timer() {
  // Changing the flags hides the window; showNormal below shows it again.
  if (!(windowFlags() & Qt::WindowStaysOnTopHint)) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  showNormal();
  raise();
  activateWindow();
  // The window system may hand the focus to the re-created window before it
  // counts as visible; the toolkit then misses the activation.
  if (QGuiApplication::focusWindow() == windowHandle() && QApplication::activeWindow() != this)
    QApplication::setActiveWindow(this);
}

void TfrmKvitra::ShowError(const std::string& message) {
  if (!Timer1->isActive()) Timer1->start();
  lblBlad->setText(FromCp1250(message));
  lblBlad->adjustSize();
}

platform::MessageAnswer TfrmKvitra::ShowMessage(const std::string& text, const std::string& caption,
                                                platform::MessageButtons buttons, platform::MessageIcon icon,
                                                uint32_t timeoutMs) {
  // Over a minimised or hidden window the box would not be seen: it then
  // stands on its own.
  shell_qt::MessageBoxLook look;
  look.owner = isVisible() && !isMinimized() ? this : nullptr;
  return shell_qt::ShowTimedMessageBox(text, caption, buttons, icon, timeoutMs, look);
}

void TfrmKvitra::SetTitle(const std::string& title) { setWindowTitle(FromCp1250(title)); }

void TfrmKvitra::Minimise() { showMinimized(); }

void TfrmKvitra::ProcessEvents() { QCoreApplication::processEvents(); }

void TfrmKvitra::Close() { close(); }
