#pragma once
// The tests write paths with '/'; NativePath writes them as the system being
// built does ('\' on Windows), so that the same cases hold on every system.
#include <algorithm>
#include <string>

#include "platform/paths.h"

namespace testing_support {

inline std::string NativePath(std::string path) {
  std::replace(path.begin(), path.end(), '/', platform::PathSeparator());
  return path;
}

}  // namespace testing_support
