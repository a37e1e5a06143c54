#pragma once
// File access as the logic needs it. Paths are built with platform/paths.h
// and may be relative to the current directory (the job directory while
// Kvitra runs). Contents are bytes.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/file_presence.h"
#include "platform/status.h"

namespace platform {

// A file opened for sequential reading.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `size` bytes; the count read, 0 at the end.
  virtual Result<size_t> Read(char* buffer, size_t size) = 0;
};

// Every call takes the path as it is given (FileExists too); ResolveName finds
// an existing file by the rule of file_presence.h.
class Files : public FilePresence {
 public:
  // The name as it exists on disk by the name rule, else `path` unchanged.
  virtual std::string ResolveName(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  // Opens an existing regular file for reading.
  virtual Result<std::unique_ptr<InputFile>> OpenRead(const std::string& path) = 0;
  // At most `maxBytes` from the start of a regular file.
  virtual Result<std::string> ReadPrefix(const std::string& path, size_t maxBytes) = 0;
  // Copies a regular file; fails when the target exists. The target appears
  // complete or not at all.
  virtual Status CopyNoReplace(const std::string& from, const std::string& to) = 0;
  // Creates one directory level.
  virtual Status MakeDirectory(const std::string& path) = 0;
  // Replaces the file's whole contents atomically: readers see the old
  // contents or all of the new ones, also after a crash or power cut. A
  // failure is CreateFailed (no new file could be made or put in place) or
  // WriteFailed (its contents could not be written and flushed).
  virtual Status ReplaceContents(const std::string& path, const std::string& bytes) = 0;
};

Files& SystemFiles();

}  // namespace platform
