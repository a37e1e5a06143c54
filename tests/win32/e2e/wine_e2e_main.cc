// The Windows programs' end-to-end tests: the prefix gets the printer
// settings of examples/PrnSetup-win1250.reg once, before any test.
#include <gtest/gtest.h>

#include "tests/win32/e2e/wine_programs.h"

namespace {

class PrefixSettings : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(wine_e2e::ImportSettings(wine_e2e::Example("PrnSetup-win1250.reg")))
        << "wine reg import of the printer settings failed";
  }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new PrefixSettings);
  return RUN_ALL_TESTS();
}
