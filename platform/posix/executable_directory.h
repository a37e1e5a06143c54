#pragma once
#include <string>

namespace platform::posix {

// The directory of the running program's file ("." when it cannot be read).
std::string ExecutableDirectory();

}  // namespace platform::posix
