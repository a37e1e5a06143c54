#pragma once
// The job directory: the host application's directory unless the command line
// names exactly one other.
#include <string>
#include <vector>

namespace varden {

// `arguments` are the command-line arguments after the program name. Exactly
// one argument replaces `defaultDir`, with one trailing separator removed.
std::string JobDirFromArguments(const std::string& defaultDir, const std::vector<std::string>& arguments);

}  // namespace varden
