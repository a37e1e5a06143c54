// Paths as Windows writes them: '\' between levels ('/' is read as one too),
// drive roots and network servers above the directories that can be made.
#include "platform/paths.h"

namespace platform {

char PathSeparator() { return '\\'; }

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// The walk starts after a drive root ("C:\") and after the separators that
// lead a rooted or network path, so neither a drive nor the root is a level.
// A network path's first level is then its server ("\\server"), which cannot
// be created and so ends the creation of such a path at once. A bare drive
// ("C:") names no directory to create either.
std::vector<std::string> DirectoryLevels(const std::string& path) {
  std::vector<std::string> levels;
  size_t n = path.size();
  if (n > 0 && IsPathSeparator(path[n - 1])) --n;
  size_t p = 0;
  if (n >= 3 && path[1] == ':' && IsPathSeparator(path[2])) p = 2;
  while (p < n && IsPathSeparator(path[p])) ++p;
  while (p < n) {
    size_t e = p;
    while (e < n && !IsPathSeparator(path[e])) ++e;
    const bool bareDrive = p == 0 && e == 2 && path[1] == ':';
    // Doubled separators inside the path name no level of their own.
    if (e > p && !bareDrive) levels.push_back(path.substr(0, e));
    p = e < n ? e + 1 : e;
  }
  return levels;
}

}  // namespace platform
