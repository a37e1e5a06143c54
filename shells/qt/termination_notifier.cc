#include "shells/qt/termination_notifier.h"

#include <QSocketNotifier>

#include "platform/termination_requests.h"

namespace qt_shell {

void OnTerminationRequest(QObject& owner, std::function<void()> onRequest) {
  platform::WaitableEvent* requests = platform::TerminationRequests();
  if (!requests) return;
  // Linux's event is a descriptor that becomes readable.
  auto* notifier = new QSocketNotifier(static_cast<qintptr>(requests->NativeHandle()), QSocketNotifier::Read, &owner);
  QObject::connect(notifier, &QSocketNotifier::activated, &owner, [requests, onRequest = std::move(onRequest)] {
    requests->Acknowledge();
    onRequest();
  });
}

}  // namespace qt_shell
