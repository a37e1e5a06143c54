#include "platform/paths.h"

namespace platform {

char PathSeparator() { return '/'; }

bool IsPathSeparator(char c) { return c == '/'; }

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
