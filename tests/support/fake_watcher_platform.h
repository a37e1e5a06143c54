#pragma once
// Fakes of Varden's world: its window, the lock file, the job files and the
// printer program, all driven by one virtual clock.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/directory_changes.h"
#include "platform/job_file_probe.h"
#include "platform/process_launcher.h"
#include "platform/range_lock.h"
#include "tests/support/recording_ui.h"
#include "tests/support/test_failure.h"
#include "tests/support/virtual_clock.h"
#include "watcher/launch_permission.h"
#include "watcher/watcher_shell.h"

namespace testing_support {

// Records what the watcher shows. What a real window's nested event loops
// would run (ticks, change reports, a handler's error) can be put into
// `duringEvents` (the lock's retries process pending events) and
// `duringMessage` (a modal box runs its own loop before it is answered).
class FakeWatcherShell : public BasicRecordingUi<varden::WatcherShell> {
 public:
  void ProcessEvents() override {
    BasicRecordingUi::ProcessEvents();
    if (duringEvents) duringEvents();
  }
  platform::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      platform::MessageButtons buttons, platform::MessageIcon icon,
                                      uint32_t timeoutMs) override {
    if (duringMessage) duringMessage();
    return BasicRecordingUi::ShowMessage(text, caption, buttons, icon, timeoutMs);
  }
  void Beep() override {
    ++beepCount;
    events.push_back("beep");
  }
  void HideTitlePanel() override {
    ++hidePanelCount;
    events.push_back("hide panel");
  }
  void Log(const std::string& line) override { log.push_back(line); }

  std::function<void()> duringEvents;
  std::function<void()> duringMessage;
  std::vector<std::string> log;
  int beepCount = 0;
  int hidePanelCount = 0;
};

// One lock file, possibly held by another party.
class FakeRangeLocks : public platform::RangeLocks {
 public:
  class File : public platform::RangeLockFile {
   public:
    explicit File(FakeRangeLocks& owner) : owner_(owner) { ++owner_.openHandles; }
    ~File() override {
      if (holding_) owner_.heldByUs = false;
      --owner_.openHandles;
    }
    bool TryLock(uint64_t offset, uint64_t length) override {
      ++owner_.lockAttempts;
      owner_.lastRange = {offset, length};
      if (owner_.lockRefusals > 0) --owner_.lockRefusals;
      else if (!owner_.heldByUs) holding_ = owner_.heldByUs = true;
      return holding_;
    }
    platform::Status Unlock(uint64_t, uint64_t) override {
      ++owner_.unlocks;
      if (owner_.unlockFails) return Failure("unlock", platform::FailureKind::Failed, 158, "The segment is already unlocked.");
      holding_ = owner_.heldByUs = false;
      return platform::Status();
    }

   private:
    FakeRangeLocks& owner_;
    bool holding_ = false;
  };

  bool FileExists(const std::string& path) override {
    checkedPaths.push_back(path);
    return exists;
  }
  platform::Result<std::unique_ptr<platform::RangeLockFile>> Open(const std::string& path) override {
    ++opens;
    if (onOpen) onOpen();
    if (openFailures > 0) {
      --openFailures;
      return Failure("open " + path, platform::FailureKind::Failed, 32, "The file is used by another process.");
    }
    return std::unique_ptr<platform::RangeLockFile>(std::make_unique<File>(*this));
  }

  bool exists = true;
  std::function<void()> onOpen;  // e.g. the host removes the job meanwhile
  int openFailures = 0;   // opens that fail before they succeed again
  int lockRefusals = 0;   // lock attempts refused before one succeeds (another party's hold)
  bool unlockFails = false;
  bool heldByUs = false;
  int opens = 0;
  int openHandles = 0;
  int lockAttempts = 0;
  int unlocks = 0;
  std::pair<uint64_t, uint64_t> lastRange{0, 0};
  std::vector<std::string> checkedPaths;
};

// Answers the launch's question as the test says; counts the askings.
class FakeLaunchPermission : public varden::LaunchPermission {
 public:
  bool MayPrint() override {
    ++asked;
    return allowed;
  }
  bool allowed = true;
  int asked = 0;
};

// Job files in memory. A file's size is its content's size.
class FakeJobFiles : public platform::JobFileProbe {
 public:
  struct Entry {
    std::string content;
    int64_t modifiedNs = 1;
    uint32_t dosDateTime = 0x53291234;
  };

  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  bool DirectoryExists(const std::string& path) override { return missingDirectories.count(path) == 0; }
  platform::Result<platform::JobFileStatus> Status(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end() || statusFails) return Failure("size of " + path);
    return platform::JobFileStatus{it->second.content.size(), it->second.modifiedNs, it->second.dosDateTime};
  }
  platform::Result<std::string> ReadPrefix(const std::string& path, size_t maxBytes) override {
    ++reads;
    auto it = files.find(path);
    if (it == files.end() || readFails) return Failure("open " + path);
    return it->second.content.substr(0, maxBytes);
  }
  platform::Status Remove(const std::string& path) override {
    removed.push_back(path);
    return files.erase(path) > 0 ? platform::Status() : Failure("remove " + path);
  }

  // Writes `content` as a new version of the file, `ageStep` telling its
  // MS-DOS time.
  void Write(const std::string& path, const std::string& content, uint32_t dosDateTime = 0x53291234) {
    Entry& entry = files[path];
    entry.content = content;
    entry.modifiedNs = ++version;
    entry.dosDateTime = dosDateTime;
  }

  std::map<std::string, Entry> files;
  std::vector<std::string> removed;
  std::set<std::string> missingDirectories;
  bool statusFails = false;
  bool readFails = false;
  int reads = 0;
  int64_t version = 1;
};

// Change notifications in memory: the test reports changes, the watcher
// takes them when the test says they are ready (OnDirectoryChanges).
class FakeDirectoryWatches : public platform::DirectoryWatches {
 public:
  platform::Result<std::unique_ptr<platform::DirectoryWatch>> Watch(const std::string& directory) override {
    watched.push_back(directory);
    if (refuse) return Failure("watch " + directory);
    return std::unique_ptr<platform::DirectoryWatch>(std::make_unique<FakeWatch>(*this));
  }
  void Report(const std::string& name, platform::FileChangeKind kind) { pending.push_back({name, kind}); }

  std::vector<platform::FileChange> pending;
  bool lost = false;    // the next taking says changes were lost
  bool refuse = false;  // no directory can be watched
  std::vector<std::string> watched;

 private:
  class NeverReady : public platform::WaitableEvent {
   public:
    std::intptr_t NativeHandle() const override { return -1; }
    void Acknowledge() override {}
  };
  class FakeWatch : public platform::DirectoryWatch {
   public:
    explicit FakeWatch(FakeDirectoryWatches& owner) : owner_(owner) {}
    platform::WaitableEvent& Changes() override { return event_; }
    bool TakeChanges(std::vector<platform::FileChange>& changes) override {
      changes.insert(changes.end(), owner_.pending.begin(), owner_.pending.end());
      owner_.pending.clear();
      return !std::exchange(owner_.lost, false);
    }

   private:
    FakeDirectoryWatches& owner_;
    NeverReady event_;
  };
};

// The printer program. Each start takes the next script; without one the
// child ends at once with exit code 0.
class FakeLauncher : public platform::ProcessLauncher {
 public:
  struct Script {
    std::optional<std::string> startError;
    std::optional<uint32_t> exitAfterMs = 0;        // none: runs until asked or killed
    int32_t exitCode = 0;
    std::optional<uint32_t> closeExitsAfterMs;      // reaction to a close request
    std::function<void()> onStart;                  // e.g. the child rewrites the job file
  };
  struct Record {
    platform::LaunchRequest request;
    std::optional<uint32_t> closeRequestedAtMs;  // since the start
    std::optional<uint32_t> killedAtMs;
  };

  explicit FakeLauncher(VirtualClock& clock) : clock_(clock) {}

  class Child : public platform::ChildProcess {
   public:
    Child(FakeLauncher& owner, size_t index, const Script& script)
        : owner_(owner), index_(index), script_(script), start_(owner.clock_.Ticks()) {
      if (script.exitAfterMs) exitAt_ = start_ + *script.exitAfterMs;
    }
    bool HasExited() override { return exitAt_ && owner_.clock_.Ticks() >= *exitAt_; }
    int32_t ExitCode() override { return killed_ || closed_ ? 0 : script_.exitCode; }
    void RequestClose() override {
      owner_.records[index_].closeRequestedAtMs = owner_.clock_.Ticks() - start_;
      if (script_.closeExitsAfterMs && !HasExited()) {
        exitAt_ = owner_.clock_.Ticks() + *script_.closeExitsAfterMs;
        closed_ = true;
      }
    }
    void Kill() override {
      owner_.records[index_].killedAtMs = owner_.clock_.Ticks() - start_;
      killed_ = true;
      exitAt_ = owner_.clock_.Ticks();
    }

   private:
    FakeLauncher& owner_;
    size_t index_;
    Script script_;
    uint32_t start_;
    std::optional<uint32_t> exitAt_;
    bool killed_ = false;
    bool closed_ = false;
  };

  platform::Result<std::unique_ptr<platform::ChildProcess>> Start(const platform::LaunchRequest& request) override {
    Script script;
    if (!scripts.empty()) {
      script = scripts.front();
      scripts.pop_front();
    }
    records.push_back({request, std::nullopt, std::nullopt});
    if (script.startError)
      return Failure("start " + request.program, platform::FailureKind::Failed, 2, *script.startError);
    if (script.onStart) script.onStart();
    return std::unique_ptr<platform::ChildProcess>(std::make_unique<Child>(*this, records.size() - 1, script));
  }

  std::deque<Script> scripts;
  std::vector<Record> records;

 private:
  VirtualClock& clock_;
};

}  // namespace testing_support
