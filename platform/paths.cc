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

bool SameNameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

}  // namespace platform
