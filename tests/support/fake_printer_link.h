#pragma once
// A scripted printer link: records every command, answers sends and reply
// reads from a script, counts closes and spends virtual time per frame.
#include <climits>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "printer/link/printer_link.h"
#include "tests/support/virtual_clock.h"

namespace testing_support {

class FakePrinterLink : public kvitra::PrinterLink {
 public:
  struct Sent {
    std::string command;
    bool wantStatus;
  };
  struct Reply {
    bool ok;
    std::string payload;
  };

  explicit FakePrinterLink(kvitra::LinkKind kind = kvitra::LinkKind::Serial,
                           VirtualClock* clock = nullptr, uint32_t msPerFrame = 0)
      : kind_(kind), clock_(clock), msPerFrame_(msPerFrame) {}

  // Sends of commands that begin with `prefix` fail, `times` times.
  void Refuse(const std::string& prefix, int times = INT_MAX) { refusals_.push_back({prefix, times}); }
  // The next reply reads, in order; once the script is used up reads fail.
  void AddReply(const std::string& payload) { replies.push_back({true, payload}); }
  void AddFailedReply(int times = 1) {
    for (int i = 0; i < times; ++i) replies.push_back({false, {}});
  }

  kvitra::LinkKind Kind() const override { return kind_; }

  bool SendFrame(const char* command, bool wantStatus) override {
    Spend();
    events.push_back("send " + std::string(command));
    if (closed) {
      sentAfterClose = true;
      return false;
    }
    sent.push_back({command, wantStatus});
    for (Refusal& refusal : refusals_) {
      if (refusal.times > 0 && std::string(command).rfind(refusal.prefix, 0) == 0) {
        --refusal.times;
        return false;
      }
    }
    return true;
  }

  bool ReceiveFrame(char* reply, size_t size, bool wantStatus) override {
    Spend();
    events.push_back("receive");
    receiveStatusWanted.push_back(wantStatus);
    if (closed || replies.empty()) return false;
    Reply next = replies.front();
    replies.pop_front();
    if (!next.ok) return false;
    size_t n = std::min(next.payload.size(), size - 1);
    std::memcpy(reply, next.payload.data(), n);
    reply[n] = '\0';
    return true;
  }

  bool SetReadTotalConstant(int32_t milliseconds) override {
    events.push_back("read-total " + std::to_string(milliseconds));
    readTotalConstants.push_back(milliseconds);
    if (!timeoutsSucceed) closed = true;  // the serial link closes its port on failure
    return timeoutsSucceed;
  }

  void SetReceiveTimeout(uint32_t milliseconds) override {
    events.push_back("receive-timeout " + std::to_string(milliseconds));
    receiveTimeouts.push_back(milliseconds);
  }

  void Close() override {
    events.push_back("close");
    ++closeCalls;
    closed = true;
  }

  // The commands in the order sent.
  std::vector<std::string> Commands() const {
    std::vector<std::string> result;
    for (const Sent& s : sent) result.push_back(s.command);
    return result;
  }
  int CountOf(const std::string& command) const {
    int n = 0;
    for (const Sent& s : sent) n += s.command == command;
    return n;
  }

  std::vector<Sent> sent;
  std::vector<std::string> events;
  std::deque<Reply> replies;
  std::vector<bool> receiveStatusWanted;
  std::vector<int32_t> readTotalConstants;
  std::vector<uint32_t> receiveTimeouts;
  bool timeoutsSucceed = true;
  bool closed = false;
  bool sentAfterClose = false;
  int closeCalls = 0;

 private:
  struct Refusal {
    std::string prefix;
    int times;
  };
  void Spend() {
    if (clock_ && msPerFrame_) clock_->Advance(msPerFrame_);
  }

  kvitra::LinkKind kind_;
  VirtualClock* clock_;
  uint32_t msPerFrame_;
  std::vector<Refusal> refusals_;
};

}  // namespace testing_support
