#pragma once
// The one in-memory platform::Files of the tests: files are byte strings by
// full path, directories a set of paths. Names resolve as on Windows: exact
// first, then ignoring the ASCII letter case of the last component. A copy
// needs its target's directory; failures of opening, reading, creating a
// directory and replacing can be arranged; the files open for reading are
// counted.
#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "tests/support/test_failure.h"

namespace testing_support {

class MemoryFiles : public platform::Files {
 public:
  void Put(const std::string& path, const std::string& bytes) { files[path] = bytes; }
  void Remove(const std::string& path) { files.erase(path); }
  // The file exists but cannot be opened.
  void MakeUnopenable(const std::string& path) { unopenable.insert(path); }
  // Each opening reads the next version; the last one stays.
  void PutVersions(const std::string& path, const std::vector<std::string>& versions) {
    files[path] = versions.front();
    laterVersions[path].assign(versions.begin() + 1, versions.end());
  }
  // The file opens `times` times, then no more.
  void AllowOpens(const std::string& path, int times) { opensLeft[path] = times; }
  // Reading the file fails once `offset` bytes have been read (ReadPrefix
  // fails when it would read past `offset`).
  void FailReadAt(const std::string& path, size_t offset) { readFailures[path] = offset; }

  std::string ResolveName(const std::string& path) override {
    if (files.count(path) || directories.count(path)) return path;
    size_t slash = path.rfind(platform::PathSeparator());
    std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = path.substr(dir.size());
    for (const auto& entry : files) {
      if (entry.first.compare(0, dir.size(), dir) != 0) continue;
      std::string rest = entry.first.substr(dir.size());
      if (rest.find(platform::PathSeparator()) == std::string::npos &&
          platform::SameNameIgnoringAsciiCase(rest, name))
        return entry.first;
    }
    return path;
  }
  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  bool DirectoryExists(const std::string& path) override { return directories.count(path) > 0; }

  // Files whose path begins with `dir` and a separator.
  std::vector<std::string> FilesIn(const std::string& dir) const {
    std::vector<std::string> found;
    for (const auto& entry : files)
      if (entry.first.rfind(dir + platform::PathSeparator(), 0) == 0) found.push_back(entry.first);
    return found;
  }

  platform::Result<std::unique_ptr<platform::InputFile>> OpenRead(const std::string& path) override {
    openedPaths.push_back(path);
    auto it = files.find(path);
    if (it == files.end() || unopenable.count(path)) return Failure("open " + path);
    if (opensLeft.count(path) && opensLeft[path]-- <= 0) return Failure("open " + path);
    std::string bytes = it->second;
    std::deque<std::string>& later = laterVersions[path];
    if (!later.empty()) {
      it->second = later.front();
      later.pop_front();
    }
    auto failure = readFailures.find(path);
    size_t failAt = failure == readFailures.end() ? std::string::npos : failure->second;
    return std::unique_ptr<platform::InputFile>(std::make_unique<MemoryInputFile>(bytes, failAt, openCount));
  }
  platform::Result<std::string> ReadPrefix(const std::string& path, size_t maxBytes) override {
    auto it = files.find(path);
    if (it == files.end() || unopenable.count(path)) return Failure("open " + path);
    auto failure = readFailures.find(path);
    if (failure != readFailures.end() && failure->second < std::min(maxBytes, it->second.size()))
      return Failure("read " + path, platform::FailureKind::Failed, 5, "Input/output error");
    return it->second.substr(0, maxBytes);
  }
  platform::Status CopyNoReplace(const std::string& from, const std::string& to) override {
    if (!files.count(from) || files.count(to)) return Failure("copy to " + to);
    size_t slash = to.rfind(platform::PathSeparator());
    if (slash != std::string::npos && slash > 0 && !directories.count(to.substr(0, slash)))
      return Failure("copy to " + to);
    files[to] = files[from];
    return platform::Status();
  }
  platform::Status MakeDirectory(const std::string& path) override {
    if (refusedDirectories.count(path) || directories.count(path) || files.count(path))
      return Failure("make directory " + path);
    directories.insert(path);
    madeDirectories.push_back(path);
    return platform::Status();
  }
  platform::Status ReplaceContents(const std::string& path, const std::string& bytes) override {
    if (replaceFailure != platform::FailureKind::None) return Failure("replace " + path, replaceFailure);
    files[path] = bytes;
    return platform::Status();
  }

  int OpenCount() const { return *openCount; }

  std::map<std::string, std::string> files;
  std::set<std::string> directories;
  std::set<std::string> refusedDirectories;  // MakeDirectory fails for these
  std::vector<std::string> madeDirectories;  // in the order made
  platform::FailureKind replaceFailure = platform::FailureKind::None;  // of every ReplaceContents
  std::set<std::string> unopenable;
  std::map<std::string, size_t> readFailures;
  std::map<std::string, std::deque<std::string>> laterVersions;
  std::map<std::string, int> opensLeft;
  std::vector<std::string> openedPaths;

 private:
  class MemoryInputFile : public platform::InputFile {
   public:
    MemoryInputFile(std::string bytes, size_t failAt, std::shared_ptr<int> openCount)
        : bytes_(std::move(bytes)), failAt_(failAt), openCount_(std::move(openCount)) {
      ++*openCount_;
    }
    ~MemoryInputFile() override { --*openCount_; }
    platform::Result<size_t> Read(char* buffer, size_t size) override {
      if (position_ >= failAt_) return Failure("read", platform::FailureKind::Failed, 5, "Input/output error");
      size_t end = std::min({bytes_.size(), position_ + size, failAt_});
      size_t n = end - std::min(end, position_);
      std::copy(bytes_.begin() + position_, bytes_.begin() + position_ + n, buffer);
      position_ += n;
      return n;
    }

   private:
    std::string bytes_;
    size_t position_ = 0;
    size_t failAt_;
    std::shared_ptr<int> openCount_;
  };

  std::shared_ptr<int> openCount = std::make_shared<int>(0);
};

}  // namespace testing_support
