#pragma once
// A platform::Environment whose variables and directories a test sets.
#include <map>
#include <optional>
#include <string>

#include "platform/environment.h"
#include "tests/support/native_path.h"

namespace testing_support {

class FakeEnvironment : public platform::Environment {
 public:
  std::optional<std::string> Variable(const std::string& name) override {
    auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  }
  std::string ZembranoDir() override { return zembranoDir; }
  std::string DocumentsFolder() override { return documentsFolder; }
  std::string ConfigHome() override { return configHome; }
  bool HasScreen() override { return screen; }

  std::map<std::string, std::string> variables;
  std::string zembranoDir = NativePath("/opt/zembrano");
  std::string documentsFolder = NativePath("/home/kasa/Documents");
  std::string configHome = NativePath("/home/kasa/.config");
  bool screen = true;
};

}  // namespace testing_support
