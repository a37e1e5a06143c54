#include "watcher/job_dir.h"

#include "platform/paths.h"

namespace varden {

std::string JobDirFromArguments(const std::string& defaultDir, const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return defaultDir;
  return platform::WithoutTrailingSeparator(arguments.front());
}

}  // namespace varden
