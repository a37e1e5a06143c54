#include "shells/qt/event_notifier.h"

#include <QSocketNotifier>

namespace qt_shell {

void OnReady(QObject& owner, platform::WaitableEvent& event, std::function<void()> onReady) {
  auto* notifier = new QSocketNotifier(static_cast<qintptr>(event.NativeHandle()), QSocketNotifier::Read, &owner);
  QObject::connect(notifier, &QSocketNotifier::activated, &owner, [&event, onReady = std::move(onReady)] {
    event.Acknowledge();
    onReady();
  });
}

}  // namespace qt_shell
