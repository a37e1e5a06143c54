#pragma once
// Termination requests in a Qt event loop: both programs' windows close
// through this when asked to from outside.
#include <QObject>

#include <functional>

namespace qt_shell {

// Calls `onRequest` from the event loop of `owner`'s thread each time a
// termination request arrives, until `owner` is destroyed. Installs the
// request handlers if that has not been done yet; without them (they could
// not be installed) nothing is called.
void OnTerminationRequest(QObject& owner, std::function<void()> onRequest);

}  // namespace qt_shell
