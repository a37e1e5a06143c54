#pragma once
// A directory of the test's own under the user's temporary folder, removed
// with everything in it at the end of the test. Paths are Windows-1250 bytes,
// as the seam takes them.
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/paths.h"
#include "platform/win32/wide_text.h"

namespace testing_support {

class ScratchDir {
 public:
  ScratchDir() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    static int counter = 0;
    root_ = std::filesystem::path(std::wstring(temp, length)) /
            (L"kvitra-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++));
    std::filesystem::create_directories(root_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string path() const { return platform::win32::Cp1250FromWide(root_.wstring()); }
  std::string operator/(const std::string& name) const { return platform::JoinPath(path(), name); }
  const std::filesystem::path& native() const { return root_; }

 private:
  std::filesystem::path root_;
};

// The whole contents of a file, or "<missing>".
inline std::string Contents(const std::string& path) {
  HANDLE file = ::CreateFileW(platform::win32::WideFromCp1250(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string out;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
  ::CloseHandle(file);
  return out;
}

// Opens a file as another program would, with the given share mode; closed
// on destruction.
class OpenedElsewhere {
 public:
  OpenedElsewhere(const std::string& path, DWORD access, DWORD share)
      : file_(::CreateFileW(platform::win32::WideFromCp1250(path).c_str(), access, share, nullptr, OPEN_ALWAYS,
                            0, nullptr)) {}
  ~OpenedElsewhere() {
    if (file_ != INVALID_HANDLE_VALUE) ::CloseHandle(file_);
  }
  OpenedElsewhere(const OpenedElsewhere&) = delete;
  OpenedElsewhere& operator=(const OpenedElsewhere&) = delete;
  bool ok() const { return file_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE file_;
};

}  // namespace testing_support
