#pragma once
// The one way the seam reports a failure: a Status that is ok, or carries the
// system's error code (errno on Linux, GetLastError or a Winsock code on
// Windows), the system's text for it and a few words saying what was being
// done. The system's side of the seam turns its error codes into a Status
// right where the call failed (posix/system_error.h, win32/system_error.h).
// Callers that must tell failures apart look at kind(); a log line takes
// ToString(); the texts the user sees stay the logic's own.
#include <optional>
#include <string>
#include <utility>

namespace platform {

// The distinctions a caller acts on; anything else is Failed.
enum class FailureKind {
  None,          // no failure
  Failed,
  CreateFailed,  // a file could not be created or replaced
  WriteFailed,   // its contents could not be written and flushed
};

class Status {
 public:
  Status() = default;  // ok
  static Status Failure(std::string what, int systemCode, std::string systemText,
                        FailureKind kind = FailureKind::Failed) {
    return Status(std::move(what), systemCode, std::move(systemText), kind);
  }

  bool ok() const { return kind_ == FailureKind::None; }
  explicit operator bool() const { return ok(); }
  FailureKind kind() const { return kind_; }
  int systemCode() const { return systemCode_; }
  // The system's text for the code, UTF-8, without a line end.
  const std::string& systemText() const { return systemText_; }
  // "open PORT.CFG: No such file or directory (2)"; "ok" when ok.
  std::string ToString() const {
    if (ok()) return "ok";
    return what_ + ": " + systemText_ + " (" + std::to_string(systemCode_) + ")";
  }

 private:
  Status(std::string what, int code, std::string text, FailureKind kind)
      : what_(std::move(what)), systemText_(std::move(text)), systemCode_(code), kind_(kind) {}

  std::string what_;
  std::string systemText_;
  int systemCode_ = 0;
  FailureKind kind_ = FailureKind::None;
};

// A value, or the Status of the failure that left none.
template <class T>
class Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  // A failure; an ok Status here would be a fault of the caller, and still
  // reads as a failure rather than as a value nobody set.
  Result(Status failure)
      : status_(failure.ok() ? Status::Failure("no value", 0, "no value given") : std::move(failure)) {}

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  const Status& status() const { return status_; }
  // The value, or `fallback` after a failure (nullptr for a handle not had).
  T ValueOr(T fallback) && { return value_ ? std::move(*value_) : std::move(fallback); }

 private:
  std::optional<T> value_;
  Status status_;
};

}  // namespace platform
