#pragma once
// A scripted printer link: records every command, answers sends and reply
// reads from a script, counts closes and spends virtual time per frame. Its
// procedure is set by the test: whether a refused opening is cancelled, and
// whether the time limits of a job step can be set. A request and its reply
// are tried once each; the links' own retries are tested with the links.
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

  explicit FakePrinterLink(VirtualClock* clock = nullptr, uint32_t msPerFrame = 0)
      : clock_(clock), msPerFrame_(msPerFrame) {}

  // Sends of commands that begin with `prefix` fail, `times` times.
  void Refuse(const std::string& prefix, int times = INT_MAX) { refusals_.push_back({prefix, times}); }
  // The next reply reads, in order; once the script is used up reads fail.
  void AddReply(const std::string& payload) { replies.push_back({true, payload}); }
  void AddFailedReply(int times = 1) {
    for (int i = 0; i < times; ++i) replies.push_back({false, {}});
  }

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

  bool SendRequest(const char* command) override {
    ++requests;
    return SendFrame(command, false);
  }

  bool ReceiveReply(char* reply, size_t size) override {
    Spend();
    events.push_back("receive");
    if (closed || replies.empty()) return false;
    Reply next = replies.front();
    replies.pop_front();
    if (!next.ok) return false;
    size_t n = std::min(next.payload.size(), size - 1);
    std::memcpy(reply, next.payload.data(), n);
    reply[n] = '\0';
    return true;
  }

  bool BeginReceipt(int64_t positions) override { return Begin("begin receipt " + std::to_string(positions)); }
  bool BeginPayout() override { return Begin("begin payout"); }
  bool BeginCashState() override { return Begin("begin cash state"); }
  void BeginClosing() override { events.push_back("begin closing"); }
  bool CancelsRefusedOpening() const override { return cancelsRefusedOpening; }

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
  int requests = 0;
  bool stepTimesSucceed = true;
  bool cancelsRefusedOpening = false;
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
  bool Begin(const std::string& step) {
    events.push_back(step);
    if (!stepTimesSucceed) closed = true;  // a link that cannot set its limits is closed
    return stepTimesSucceed;
  }

  VirtualClock* clock_;
  uint32_t msPerFrame_;
  std::vector<Refusal> refusals_;
};

}  // namespace testing_support
