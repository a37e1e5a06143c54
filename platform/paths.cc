// The path functions that only need the system's separator.
#include "platform/paths.h"

namespace platform {

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (!dir.empty() && IsPathSeparator(dir.back())) return dir + name;
  return dir + PathSeparator() + name;
}

std::string WithoutTrailingSeparator(const std::string& path) {
  if (path.empty() || !IsPathSeparator(path.back())) return path;
  return path.substr(0, path.size() - 1);
}

}  // namespace platform
