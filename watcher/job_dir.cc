#include "watcher/job_dir.h"

namespace varden {

std::string JobDirFromArguments(const std::string& defaultDir, const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return defaultDir;
  std::string dir = arguments.front();
  if (!dir.empty() && dir.back() == '/') dir.pop_back();
  return dir;
}

std::string InDir(const std::string& dir, const std::string& name) { return dir + "/" + name; }

}  // namespace varden
