// Files on Windows. The job directory's files are opened as the host expects
// of them: without sharing, so that a file the host still holds open fails
// to open. Copies and replacements go through a temporary file in the
// target's directory, so that they appear complete or not at all. Paths are
// Windows-1250 bytes, widened for the W calls. Windows matches names without
// regard to letter case by itself.
#include <windows.h>

#include <algorithm>
#include <atomic>

#include "platform/files.h"
#include "platform/win32/file_reading.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handle.h"

namespace platform {
namespace {

using win32::Handle;
using win32::LastErrorStatus;

constexpr size_t kCopyChunk = 64 * 1024;
constexpr int kTempNameAttempts = 100;

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

bool IsDirectory(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The job files, PORT.CFG and the side files are opened by their 8-bit names
// and without sharing.
HANDLE OpenUnshared(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (file != INVALID_HANDLE_VALUE && !win32::IsDiskFile(file)) {
    ::CloseHandle(file);
    ::SetLastError(ERROR_NOT_SUPPORTED);  // a pipe or device in the file's place
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

// A write that takes nothing (a full disk) fails with ERROR_HANDLE_DISK_FULL.
bool WriteAll(HANDLE file, const char* data, size_t size) {
  while (size > 0) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(size, kCopyChunk));
    DWORD put = 0;
    if (!::WriteFile(file, data, want, &put, nullptr)) return false;
    if (put == 0) {
      ::SetLastError(ERROR_HANDLE_DISK_FULL);
      return false;
    }
    data += put;
    size -= put;
  }
  return true;
}

// A new file beside `target`, named after it with a leading point, deleted on
// destruction unless it has been moved into place.
class TempFile {
 public:
  explicit TempFile(const std::wstring& target) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = target.find_last_of(L"\\/");
    const std::wstring dir = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < kTempNameAttempts && !file_.valid(); ++attempt) {
      path_ = dir + L"." + name + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(counter++);
      HANDLE file = ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
      if (file != INVALID_HANDLE_VALUE) file_.Reset(file);
      else if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
  }
  ~TempFile() {
    file_.Reset();
    if (!placed_ && !path_.empty()) ::DeleteFileW(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool ok() const { return file_.valid(); }
  HANDLE get() const { return file_.get(); }
  // Flushes to disk and closes; false when either fails.
  bool Finish() {
    const bool flushed = ::FlushFileBuffers(file_.get());
    return file_.Reset() && flushed;
  }
  // Moves the finished file to `target`; `flags` tell whether it may replace.
  bool MoveTo(const std::wstring& target, DWORD flags) {
    placed_ = ::MoveFileExW(path_.c_str(), target.c_str(), flags | MOVEFILE_WRITE_THROUGH);
    return placed_;
  }

 private:
  std::wstring path_;
  Handle file_;
  bool placed_ = false;
};

class WindowsInputFile : public InputFile {
 public:
  WindowsInputFile(HANDLE file, std::string path) : file_(file), path_(std::move(path)) {}
  Result<size_t> Read(char* buffer, size_t size) override {
    return win32::ReadSome(file_.get(), buffer, size, path_);
  }

 private:
  Handle file_;
  std::string path_;
};

class WindowsFiles : public Files {
 public:
  std::string ResolveName(const std::string& path) override { return path; }

  bool FileExists(const std::string& path) override {
    const DWORD attributes = Attributes(win32::WideFromCp1250(path));
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool DirectoryExists(const std::string& path) override {
    return IsDirectory(Attributes(win32::WideFromCp1250(path)));
  }

  Result<std::unique_ptr<InputFile>> OpenRead(const std::string& path) override {
    HANDLE file = OpenUnshared(path);
    if (file == INVALID_HANDLE_VALUE) return LastErrorStatus("open " + path);
    return std::unique_ptr<InputFile>(std::make_unique<WindowsInputFile>(file, path));
  }

  Result<std::string> ReadPrefix(const std::string& path, size_t maxBytes) override {
    Handle file(OpenUnshared(path));
    if (!file.valid()) return LastErrorStatus("open " + path);
    return win32::ReadUpTo(file.get(), maxBytes, path);
  }

  Status CopyNoReplace(const std::string& from, const std::string& to) override {
    const std::wstring target = win32::WideFromCp1250(to);
    if (Attributes(target) != INVALID_FILE_ATTRIBUTES)
      return win32::ErrorStatus("copy to " + to, ERROR_FILE_EXISTS);
    Handle source(::CreateFileW(win32::WideFromCp1250(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source.valid()) return LastErrorStatus("open " + from);
    if (!win32::IsDiskFile(source.get())) return win32::ErrorStatus("open " + from, ERROR_NOT_SUPPORTED);
    TempFile temp(target);
    if (!temp.ok()) return LastErrorStatus("create a temporary file beside " + to);
    char buffer[kCopyChunk];
    for (;;) {
      const Result<size_t> got = win32::ReadSome(source.get(), buffer, sizeof buffer, from);
      if (!got) return got.status();
      if (*got == 0) break;
      if (!WriteAll(temp.get(), buffer, *got)) return LastErrorStatus("write a copy of " + from);
    }
    if (!temp.Finish()) return LastErrorStatus("flush a copy of " + from);
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the target has
    // appeared meanwhile.
    if (!temp.MoveTo(target, 0)) return LastErrorStatus("put " + to + " in place");
    return Status();
  }

  Status MakeDirectory(const std::string& path) override {
    if (::CreateDirectoryW(win32::WideFromCp1250(path).c_str(), nullptr)) return Status();
    return LastErrorStatus("make directory " + path);
  }

  Status ReplaceContents(const std::string& path, const std::string& bytes) override {
    const std::wstring target = win32::WideFromCp1250(path);
    const DWORD attributes = Attributes(target);
    // A file that could not be opened for writing without sharing (read-only,
    // access denied, still held open by the host) is not replaced, as a
    // system writing in place would fail on it; nor is a directory.
    // The read-only attribute is tested by itself too: Wine run as root opens
    // such a file for writing all the same.
    const std::string what = "replace " + path;
    constexpr FailureKind kCreate = FailureKind::CreateFailed;
    if (IsDirectory(attributes)) return win32::ErrorStatus(what, ERROR_DIRECTORY, kCreate);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (attributes & FILE_ATTRIBUTE_READONLY) return win32::ErrorStatus(what, ERROR_ACCESS_DENIED, kCreate);
      Handle probe(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!probe.valid()) return LastErrorStatus(what, kCreate);
    }
    TempFile temp(target);
    if (!temp.ok()) return LastErrorStatus("create a temporary file beside " + path, kCreate);
    if (!WriteAll(temp.get(), bytes.data(), bytes.size()))
      return LastErrorStatus("write " + path, FailureKind::WriteFailed);
    if (!temp.Finish()) return LastErrorStatus("flush " + path, FailureKind::WriteFailed);
    // The old contents stay in place until this one step.
    if (!temp.MoveTo(target, MOVEFILE_REPLACE_EXISTING)) return LastErrorStatus(what, kCreate);
    return Status();
  }
};

}  // namespace

Files& SystemFiles() {
  static WindowsFiles files;
  return files;
}

}  // namespace platform
