#pragma once
// The modal message box of both Qt windows: OK or Retry/Cancel, and with a
// time limit a box that closes itself and answers TimedOut.
#include <QString>
#include <cstdint>
#include <string>

#include "platform/user_interface.h"

class QWidget;

namespace shell_qt {

struct MessageBoxLook {
  QWidget* owner = nullptr;  // none: the box stands on its own
  bool staysOnTop = false;
  // Retry/Cancel with Polish texts; otherwise the toolkit's own buttons.
  bool polishButtons = false;
};

// A box with the given Windows-1250 text and caption; `timeoutMs` 0 waits for
// the user. Escape or the close button answers Cancel on a Retry/Cancel box.
platform::MessageAnswer ShowTimedMessageBox(const std::string& text, const std::string& caption,
                                            platform::MessageButtons buttons, platform::MessageIcon icon,
                                            uint32_t timeoutMs, const MessageBoxLook& look);

}  // namespace shell_qt
