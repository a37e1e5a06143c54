#include "platform/posix/executable_directory.h"

#include <limits.h>
#include <unistd.h>

namespace platform::posix {

std::string ExecutableDirectory() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  const std::string exe(path, static_cast<size_t>(length));
  const size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "." : exe.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace platform::posix
