#pragma once
// A fresh directory under /tmp, removed with its contents at the end.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace testing_support {

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/kvitra-test-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace testing_support
