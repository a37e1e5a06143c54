// Termination requests: from the first call on, a request from outside no
// longer ends the program but readies an event its loop waits on, until the
// loop acknowledges it.
#include <gtest/gtest.h>

#include "platform/termination_requests.h"
#include "tests/platform/contract_host.h"

namespace contract {
namespace {

TEST(TerminationRequestsContract, ARequestReadiesTheEventUntilAcknowledged) {
  platform::WaitableEvent* requests = platform::TerminationRequests();
  ASSERT_NE(requests, nullptr);
  EXPECT_EQ(platform::TerminationRequests(), requests) << "one event for the whole program";
  EXPECT_FALSE(IsReady(*requests, 0));

  if (!RequestTerminationOfThisProcess()) GTEST_SKIP() << "this run cannot send a termination request";
  EXPECT_TRUE(IsReady(*requests, 5000));  // and the test process is still here
  requests->Acknowledge();
  EXPECT_FALSE(IsReady(*requests, 0));

  ASSERT_TRUE(RequestTerminationOfThisProcess());
  EXPECT_TRUE(IsReady(*requests, 5000)) << "every request is seen, not only the first";
  requests->Acknowledge();
}

}  // namespace
}  // namespace contract
