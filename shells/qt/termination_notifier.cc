#include "shells/qt/termination_notifier.h"

#include "platform/termination_requests.h"
#include "shells/qt/event_notifier.h"

namespace qt_shell {

void OnTerminationRequest(QObject& owner, std::function<void()> onRequest) {
  platform::WaitableEvent* requests = platform::TerminationRequests();
  if (requests) OnReady(owner, *requests, std::move(onRequest));
}

}  // namespace qt_shell
