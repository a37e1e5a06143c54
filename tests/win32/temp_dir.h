#pragma once
// A scratch directory for the Windows-side tests, removed with everything in
// it. Paths are ASCII, so they are the same in Windows-1250 and UTF-16.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace platform::win32::testing {

class TempDir {
 public:
  TempDir() {
    static int made = 0;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    path_ = (base / ("kvitra-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made)))
                .string();
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(File(name), std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::string path_;
};

}  // namespace platform::win32::testing
