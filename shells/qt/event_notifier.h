#pragma once
// A platform::WaitableEvent in a Qt event loop. On Linux every such event is
// a descriptor that becomes readable.
#include <QObject>

#include <functional>

#include "platform/waitable_event.h"

namespace qt_shell {

// Calls `onReady` from the event loop of `owner`'s thread each time `event`
// is ready, until `owner` is destroyed; `event` must live as long.
void OnReady(QObject& owner, platform::WaitableEvent& event, std::function<void()> onReady);

}  // namespace qt_shell
