#pragma once
// How a job step ends: a result code and, after a failure, the message to
// show once the link is closed.
#include <cstdint>
#include <optional>
#include <string>

namespace kvitra {

struct JobOutcome {
  int32_t result = 0;
  std::optional<std::string> message;

  static JobOutcome Success(int32_t result) { return {result, std::nullopt}; }
  static JobOutcome Failure(std::string message) { return {0, std::move(message)}; }
};

}  // namespace kvitra
