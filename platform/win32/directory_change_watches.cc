// Directory watches through ReadDirectoryChangesW, read overlapped so that
// the program's loop waits on the read's event. Windows says only that a file
// changed; whether its writer is done shows when the file opens without a
// sharing violation, which the job-file probe's read already requires.
#include <windows.h>

#include <cstddef>

#include "platform/directory_changes.h"
#include "platform/win32/system_error.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_handle.h"

namespace platform {
namespace {

constexpr DWORD kWatchedChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;
// The changes of one read; more than fit here are reported as an overflow.
constexpr DWORD kBufferSize = 16 * 1024;

class ReadEvent : public WaitableEvent {
 public:
  explicit ReadEvent(HANDLE event) : event_(event) {}
  std::intptr_t NativeHandle() const override { return reinterpret_cast<std::intptr_t>(event_); }
  // The event is reset when the next read is started (TakeChanges).
  void Acknowledge() override {}

 private:
  HANDLE event_;
};

FileChangeKind KindOf(DWORD action) {
  return action == FILE_ACTION_REMOVED || action == FILE_ACTION_RENAMED_OLD_NAME ? FileChangeKind::Gone
                                                                                  : FileChangeKind::Changed;
}

class ReadDirectoryChangesWatch : public DirectoryWatch {
 public:
  ReadDirectoryChangesWatch(HANDLE directory, HANDLE event) : directory_(directory), event_(event), ready_(event) {}
  ~ReadDirectoryChangesWatch() override {
    if (!reading_) return;
    ::CancelIoEx(directory_.get(), &overlapped_);
    DWORD ignored = 0;
    ::GetOverlappedResult(directory_.get(), &overlapped_, &ignored, TRUE);
  }

  bool StartRead() {
    ::ResetEvent(event_.get());
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_.get();
    reading_ = ::ReadDirectoryChangesW(directory_.get(), buffer_, kBufferSize, FALSE, kWatchedChanges, nullptr,
                                       &overlapped_, nullptr) != 0;
    return reading_;
  }

  WaitableEvent& Changes() override { return ready_; }

  bool TakeChanges(std::vector<FileChange>& changes) override {
    if (!reading_) return false;  // the watch has ended
    DWORD got = 0;
    if (!::GetOverlappedResult(directory_.get(), &overlapped_, &got, FALSE)) {
      if (::GetLastError() == ERROR_IO_INCOMPLETE) return true;
      reading_ = false;  // the directory went away or cannot be read
      return false;
    }
    // Nothing returned: more changes came than the buffer holds.
    const bool complete = got > 0;
    for (DWORD offset = 0; complete && offset + sizeof(FILE_NOTIFY_INFORMATION) <= got;) {
      const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + offset);
      const size_t nameLength = info->FileNameLength / sizeof(wchar_t);
      if (offset + offsetof(FILE_NOTIFY_INFORMATION, FileName) + info->FileNameLength > got) break;
      changes.push_back({win32::Cp1250FromWide(std::wstring(info->FileName, nameLength)), KindOf(info->Action)});
      if (info->NextEntryOffset == 0) break;
      offset += info->NextEntryOffset;
    }
    return StartRead() && complete;
  }

 private:
  win32::Handle directory_;
  win32::Handle event_;
  ReadEvent ready_;
  OVERLAPPED overlapped_{};
  alignas(DWORD) BYTE buffer_[kBufferSize];
  bool reading_ = false;
};

class SystemWatches : public DirectoryWatches {
 public:
  Result<std::unique_ptr<DirectoryWatch>> Watch(const std::string& directory) override {
    HANDLE handle = ::CreateFileW(win32::WideFromCp1250(directory).c_str(), FILE_LIST_DIRECTORY,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return win32::LastErrorStatus("watch " + directory);
    HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!event) {
      const Status failed = win32::LastErrorStatus("CreateEventW");
      ::CloseHandle(handle);
      return failed;
    }
    auto watch = std::make_unique<ReadDirectoryChangesWatch>(handle, event);
    // A file is no directory: the first read fails.
    if (!watch->StartRead()) return win32::LastErrorStatus("watch " + directory);
    return std::unique_ptr<DirectoryWatch>(std::move(watch));
  }
};

}  // namespace

DirectoryWatches& SystemDirectoryWatches() {
  static SystemWatches watches;
  return watches;
}

}  // namespace platform
