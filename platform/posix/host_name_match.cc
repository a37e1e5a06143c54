#include "platform/posix/host_name_match.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace platform::posix {

std::string MatchHostName(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0) return path;
  const size_t slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return path;
  DIR* stream = ::opendir(dir.c_str());
  if (!stream) return path;
  std::string match = path;
  while (const dirent* entry = ::readdir(stream)) {
    if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
      match = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + entry->d_name;
      break;
    }
  }
  ::closedir(stream);
  return match;
}

}  // namespace platform::posix
