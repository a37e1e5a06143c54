#pragma once
// Word from the system that files in a directory have changed, so that the
// watcher need not wait for its next tick to look. What the system can say
// differs: Linux says when a file is being written and when its writer has
// closed it or it was renamed into place; Windows says only that a file
// changed (a file that its writer holds open without sharing cannot be read
// until the writer is done, which the job-file probe's open already tests).
#include <memory>
#include <string>
#include <vector>

#include "platform/status.h"
#include "platform/waitable_event.h"

namespace platform {

enum class FileChangeKind {
  Writing,   // created or written to; its writer may not be done
  Finished,  // its writer closed it after writing, or it was renamed into place
  Gone,      // removed or renamed away
  Changed,   // changed in a way the system does not tell apart
};

struct FileChange {
  std::string name;  // the name within the directory, as the system reports it
  FileChangeKind kind;
  bool operator==(const FileChange&) const = default;
};

class DirectoryWatch {
 public:
  virtual ~DirectoryWatch() = default;
  // Ready while changes are waiting to be taken.
  virtual WaitableEvent& Changes() = 0;
  // Moves every change reported since the last call into `changes` (oldest
  // first; at most a bounded number per call, the rest stays ready). false
  // when changes were lost (the system's queue overflowed, the directory went
  // away): what is known of the files' state is then out of date.
  virtual bool TakeChanges(std::vector<FileChange>& changes) = 0;
};

class DirectoryWatches {
 public:
  virtual ~DirectoryWatches() = default;
  // Fails when the directory cannot be watched (it does not exist, the
  // system has no such watches, or its limit on them is reached).
  virtual Result<std::unique_ptr<DirectoryWatch>> Watch(const std::string& directory) = 0;
};

DirectoryWatches& SystemDirectoryWatches();

}  // namespace platform
