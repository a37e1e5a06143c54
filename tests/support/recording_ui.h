#pragma once
// A user interface that records what the logic shows and answers message
// boxes from a script.
#include <deque>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace testing_support {

// Records the calls of any user-interface port (`Port` derives from
// platform::UserInterface); `events` keeps the order of message boxes and
// minimising, for shells that add calls of their own.
template <class Port>
class BasicRecordingUi : public Port {
 public:
  struct Message {
    std::string text;
    std::string caption;
    platform::MessageButtons buttons;
    platform::MessageIcon icon;
    uint32_t timeoutMs;
  };

  void ShowError(const std::string& message) override { errors.push_back(message); }
  platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageButtons buttons, platform::MessageIcon icon,
                                      uint32_t timeoutMs) override {
    messages.push_back({text, caption, buttons, icon, timeoutMs});
    events.push_back("message");
    if (answers.empty()) return platform::MessageAnswer::Ok;
    platform::MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void SetTitle(const std::string& title) override { titles.push_back(title); }
  void Minimise() override {
    ++minimiseCount;
    events.push_back("minimise");
  }
  void ProcessEvents() override { ++processEventsCount; }
  void Close() override { ++closeCount; }

  // The last error text, or empty.
  std::string LastError() const { return errors.empty() ? std::string() : errors.back(); }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const Message& m : messages) texts.push_back(m.text);
    return texts;
  }

  std::vector<std::string> errors;
  std::vector<Message> messages;
  std::vector<std::string> titles;
  std::vector<std::string> events;
  std::deque<platform::MessageAnswer> answers;
  int minimiseCount = 0;
  int processEventsCount = 0;
  int closeCount = 0;
};

using RecordingUi = BasicRecordingUi<platform::UserInterface>;

}  // namespace testing_support
