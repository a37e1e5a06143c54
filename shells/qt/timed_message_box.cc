#include "shells/qt/timed_message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/cp1250.h"

namespace shell_qt {
namespace {

QString FromCp1250(const std::string& text) { return QString::fromStdString(platform::Cp1250ToUtf8(text)); }

QMessageBox::Icon BoxIcon(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::Stop:
      return QMessageBox::Critical;
    case platform::MessageIcon::Information:
      return QMessageBox::Information;
    case platform::MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

struct Buttons {
  QAbstractButton* retry = nullptr;
  QAbstractButton* cancel = nullptr;
};

Buttons AddButtons(QMessageBox& box, platform::MessageButtons buttons, bool polish) {
  Buttons added;
  if (buttons == platform::MessageButtons::Ok) {
    if (polish)
      box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    else
      box.addButton(QMessageBox::Ok);
    return added;
  }
  if (polish) {
    added.retry = box.addButton(QString::fromUtf8("&Ponów próbę"), QMessageBox::AcceptRole);
    added.cancel = box.addButton(QString::fromUtf8("&Anuluj"), QMessageBox::RejectRole);
  } else {
    added.retry = box.addButton(QMessageBox::Retry);
    added.cancel = box.addButton(QMessageBox::Cancel);
  }
  box.setEscapeButton(added.cancel);
  return added;
}

}  // namespace

platform::MessageAnswer ShowTimedMessageBox(const std::string& text, const std::string& caption,
                                            platform::MessageButtons buttons, platform::MessageIcon icon,
                                            uint32_t timeoutMs, const MessageBoxLook& look) {
  QMessageBox box(BoxIcon(icon), FromCp1250(caption), FromCp1250(text), QMessageBox::NoButton, look.owner);
  if (look.staysOnTop) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  const Buttons added = AddButtons(box, buttons, look.polishButtons);
  bool timedOut = false;
  QTimer expiry;
  if (timeoutMs > 0) {
    expiry.setSingleShot(true);
    QObject::connect(&expiry, &QTimer::timeout, &box, [&] {
      timedOut = true;
      box.done(QMessageBox::Cancel);
    });
    expiry.start(static_cast<int>(timeoutMs));
  }
  box.exec();
  if (timedOut) return platform::MessageAnswer::TimedOut;
  if (buttons == platform::MessageButtons::Ok) return platform::MessageAnswer::Ok;
  return box.clickedButton() == added.retry ? platform::MessageAnswer::Retry : platform::MessageAnswer::Cancel;
}

}  // namespace shell_qt
