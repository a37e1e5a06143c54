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
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handle.h"

namespace platform {
namespace {

using win32::Handle;

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
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

bool WriteAll(HANDLE file, const char* data, size_t size) {
  while (size > 0) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(size, kCopyChunk));
    DWORD put = 0;
    if (!::WriteFile(file, data, want, &put, nullptr) || put == 0) return false;
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
  explicit WindowsInputFile(HANDLE file) : file_(file) {}
  long Read(char* buffer, size_t size) override { return win32::ReadSome(file_.get(), buffer, size); }

 private:
  Handle file_;
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

  std::unique_ptr<InputFile> OpenRead(const std::string& path) override {
    HANDLE file = OpenUnshared(path);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WindowsInputFile>(file);
  }

  ReadResult ReadPrefix(const std::string& path, size_t maxBytes, std::string& out) override {
    out.clear();
    Handle file(OpenUnshared(path));
    if (!file.valid()) return ReadResult::OpenFailed;
    return win32::ReadUpTo(file.get(), maxBytes, out) ? ReadResult::Ok : ReadResult::ReadFailed;
  }

  bool CopyNoReplace(const std::string& from, const std::string& to) override {
    const std::wstring target = win32::WideFromCp1250(to);
    if (Attributes(target) != INVALID_FILE_ATTRIBUTES) return false;
    Handle source(::CreateFileW(win32::WideFromCp1250(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!source.valid() || !win32::IsDiskFile(source.get())) return false;
    TempFile temp(target);
    if (!temp.ok()) return false;
    char buffer[kCopyChunk];
    for (;;) {
      const long got = win32::ReadSome(source.get(), buffer, sizeof buffer);
      if (got < 0) return false;
      if (got == 0) break;
      if (!WriteAll(temp.get(), buffer, static_cast<size_t>(got))) return false;
    }
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the target has
    // appeared meanwhile.
    return temp.Finish() && temp.MoveTo(target, 0);
  }

  bool MakeDirectory(const std::string& path) override {
    return ::CreateDirectoryW(win32::WideFromCp1250(path).c_str(), nullptr);
  }

  WriteResult ReplaceContents(const std::string& path, const std::string& bytes) override {
    const std::wstring target = win32::WideFromCp1250(path);
    const DWORD attributes = Attributes(target);
    // A file that could not be opened for writing without sharing (read-only,
    // access denied, still held open by the host) is not replaced, as a
    // system writing in place would fail on it; nor is a directory.
    // The read-only attribute is tested by itself too: Wine run as root opens
    // such a file for writing all the same.
    if (IsDirectory(attributes)) return WriteResult::CreateFailed;
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (attributes & FILE_ATTRIBUTE_READONLY) return WriteResult::CreateFailed;
      Handle probe(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!probe.valid()) return WriteResult::CreateFailed;
    }
    TempFile temp(target);
    if (!temp.ok()) return WriteResult::CreateFailed;
    if (!WriteAll(temp.get(), bytes.data(), bytes.size())) return WriteResult::WriteFailed;
    if (!temp.Finish()) return WriteResult::WriteFailed;
    // The old contents stay in place until this one step.
    if (!temp.MoveTo(target, MOVEFILE_REPLACE_EXISTING)) return WriteResult::CreateFailed;
    return WriteResult::Ok;
  }
};

}  // namespace

Files& SystemFiles() {
  static WindowsFiles files;
  return files;
}

}  // namespace platform
