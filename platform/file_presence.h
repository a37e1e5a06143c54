#pragma once
// Whether a file is there: the question that every facility looking at files
// answers the same way.
#include <string>

namespace platform {

class FilePresence {
 public:
  virtual ~FilePresence() = default;
  // True for an existing entry that is not a directory. Each facility says
  // how it matches the name.
  virtual bool FileExists(const std::string& path) = 0;
};

}  // namespace platform
