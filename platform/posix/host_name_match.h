#pragma once
// File names matched as the host's file system matches them: the exact name
// first, then an entry of the same directory whose name equals the last
// component without regard to ASCII letter case.
#include <string>

namespace platform::posix {

// The path as it exists on disk, or `path` unchanged when nothing matches.
std::string MatchHostName(const std::string& path);

}  // namespace platform::posix
