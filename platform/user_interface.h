#pragma once
// What the logic asks of a program's window. Texts are Windows-1250 bytes; the
// window converts them for display and echoes each shown text to standard
// error in UTF-8.
#include <cstdint>
#include <string>

namespace platform {

enum class MessageButtons { Ok, RetryCancel };
enum class MessageIcon { None, Stop, Information };
enum class MessageAnswer { Ok, Retry, Cancel, TimedOut };

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Kvitra's error window text (the window raises itself after the run).
  virtual void ShowError(const std::string& message) = 0;
  // A modal box; `timeoutMs` 0 waits for the user, otherwise the box closes
  // itself after that time and the answer is TimedOut.
  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons, MessageIcon icon,
                                    uint32_t timeoutMs = 0) = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual void Minimise() = 0;
  virtual void ProcessEvents() = 0;
  virtual void Close() = 0;
};

}  // namespace platform
