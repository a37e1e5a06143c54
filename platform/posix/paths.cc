#include "platform/paths.h"

namespace platform {

char PathSeparator() { return '/'; }

bool IsPathSeparator(char c) { return c == '/'; }

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (!dir.empty() && IsPathSeparator(dir.back())) return dir + name;
  return dir + PathSeparator() + name;
}

std::string WithoutTrailingSeparator(const std::string& path) {
  if (path.empty() || !IsPathSeparator(path.back())) return path;
  return path.substr(0, path.size() - 1);
}

std::vector<std::string> DirectoryLevels(const std::string& path) {
  std::vector<std::string> levels;
  size_t n = path.size();
  if (n > 0 && IsPathSeparator(path[n - 1])) --n;
  size_t p = 0;
  while (p < n && IsPathSeparator(path[p])) ++p;
  while (p < n) {
    size_t e = p;
    while (e < n && !IsPathSeparator(path[e])) ++e;
    // Doubled separators inside the path name no level of their own.
    if (e > p) levels.push_back(path.substr(0, e));
    p = e < n ? e + 1 : e;
  }
  return levels;
}

}  // namespace platform
