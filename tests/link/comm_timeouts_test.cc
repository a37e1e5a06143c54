#include "platform/comm_timeouts.h"

#include <gtest/gtest.h>

#include <optional>

namespace platform {
namespace {

constexpr uint32_t M = kMaxDword;
constexpr std::optional<uint64_t> kNoLimit = std::nullopt;

struct ReadCase {
  const char* name;
  CommTimeouts timeouts;
  size_t size;
  uint64_t sinceStart, sinceLastByte;
  size_t received;
  std::optional<uint64_t> left;
};

TEST(CommTimeoutsTest, ReadWaitFollowsTheWindowsRules) {
  const ReadCase cases[] = {
      {"defaults: multiplier + constant", {200, 200, 500, 0, 0}, 1, 0, 0, 0, 700},
      {"defaults after 300 ms", {200, 200, 500, 0, 0}, 1, 300, 300, 0, 400},
      {"total used up", {200, 200, 500, 0, 0}, 1, 900, 900, 0, 0},
      {"total scales with the size", {0, 10, 5, 0, 0}, 4, 0, 0, 0, 45},
      {"interval only after the first byte", {50, 0, 0, 0, 0}, 4, 10, 10, 0, kNoLimit},
      {"interval counts from the last byte", {50, 0, 0, 0, 0}, 4, 90, 20, 2, 30},
      {"interval shorter than the total left", {50, 0, 1000, 0, 0}, 4, 100, 10, 1, 40},
      {"no limits at all", {0, 0, 0, 0, 0}, 1, 99999, 99999, 0, kNoLimit},
      {"MAXDWORD interval, no totals: at once", {M, 0, 0, 0, 0}, 1, 0, 0, 0, 0},
      {"wait for first byte: before it", {M, M, 250, 0, 0}, 4, 100, 100, 0, 150},
      {"wait for first byte: after it", {M, M, 250, 0, 0}, 4, 100, 0, 1, 0},
      {"MAXDWORD constant is no special case", {M, M, M, 0, 0}, 1, 0, 0, 0, 2ull * M},
      {"MAXDWORD interval with plain multiplier", {M, 10, 0, 0, 0}, 2, 5, 5, 0, 15},
      {"totals do not wrap", {0, M, M, 0, 0}, 1024, 0, 0, 0, 1025ull * M},
  };
  for (const ReadCase& c : cases) {
    const ReadLimits limits = PlanRead(c.timeouts, c.size);
    EXPECT_EQ(ReadWaitLeft(limits, c.sinceStart, c.sinceLastByte, c.received), c.left) << c.name;
  }
}

TEST(CommTimeoutsTest, WriteLimit) {
  EXPECT_EQ(WriteLimitMs({0, 0, 0, 200, 100}, 3), 700u);
  EXPECT_EQ(WriteLimitMs({0, 0, 0, 0, 100}, 3), 100u);
  EXPECT_EQ(WriteLimitMs({M, M, M, 0, 0}, 3), kNoLimit);
  EXPECT_EQ(WriteLimitMs({0, 0, 0, M, M}, 2), 3ull * M);
}

}  // namespace
}  // namespace platform
