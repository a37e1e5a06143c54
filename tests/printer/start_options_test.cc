#include "printer/start_options.h"

#include <gtest/gtest.h>

#include "tests/support/fake_settings_store.h"

namespace kvitra {
namespace {

TEST(RunsHeadless, WithoutAScreenOrWhenAskedTo) {
  struct Case {
    bool screen;
    const char* headless;  // KVITRA_HEADLESS, nullptr for unset
    bool expected;
  } cases[] = {
      {true, nullptr, false}, {false, nullptr, true}, {true, "1", true},
      {false, "1", true},     {true, "0", false},     {true, "", false},
      {true, "yes", false},   {true, "1 ", false},
  };
  for (const Case& c : cases) {
    testing_support::FakeEnvironment env;
    env.screen = c.screen;
    if (c.headless) env.variables["KVITRA_HEADLESS"] = c.headless;
    EXPECT_EQ(RunsHeadless(env), c.expected) << c.screen << " " << (c.headless ? c.headless : "(unset)");
  }
}

}  // namespace
}  // namespace kvitra
