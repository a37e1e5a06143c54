// The job file as Varden's detection loop sees it on Windows. Names need no
// matching of their own: Windows finds a name in any letter case.
#include "platform/job_file_probe.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

#include "platform/win32/file_reading.h"
#include "platform/win32/file_times.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handle.h"

namespace platform {
namespace {

class WindowsJobFileProbe : public JobFileProbe {
 public:
  bool FileExists(const std::string& path) override {
    const DWORD attributes = ::GetFileAttributesW(win32::WideFromCp1250(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool DirectoryExists(const std::string& path) override {
    const DWORD attributes = ::GetFileAttributesW(win32::WideFromCp1250(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  Result<JobFileStatus> Status(const std::string& path) override {
    const std::wstring wide = win32::WideFromCp1250(path);
    JobFileStatus status;
    std::error_code error;
    status.size = std::filesystem::file_size(std::filesystem::path(wide), error);
    if (error) return platform::Status::Failure("size of " + path, error.value(), error.message());
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
      status.modifiedNs = -1;
      status.dosDateTime = kNoDosDateTime;
      return status;
    }
    status.modifiedNs = win32::NanosecondsSinceEpoch(data.ftLastWriteTime);
    status.dosDateTime = win32::LocalDosDateTime(data.ftLastWriteTime);
    return status;
  }

  // Opened for reading with writing denied to others: the open fails while
  // the host still writes the file, and nobody can start to during the read.
  Result<std::string> ReadPrefix(const std::string& path, size_t maxBytes) override {
    win32::Handle file(::CreateFileW(win32::WideFromCp1250(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return win32::LastErrorStatus("open " + path);
    if (!win32::IsDiskFile(file.get())) return win32::ErrorStatus("open " + path, ERROR_NOT_SUPPORTED);
    return win32::ReadUpTo(file.get(), maxBytes, path);
  }

  platform::Status Remove(const std::string& path) override {
    if (::DeleteFileW(win32::WideFromCp1250(path).c_str())) return platform::Status();
    return win32::LastErrorStatus("remove " + path);
  }
};

}  // namespace

JobFileProbe& SystemJobFileProbe() {
  static WindowsJobFileProbe probe;
  return probe;
}

}  // namespace platform
