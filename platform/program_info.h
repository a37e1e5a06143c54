#pragma once
// What every program of the package says about itself: its version, and the
// two requests it answers alone on the command line before it touches any
// file, --help and --version.
#include <string>
#include <vector>

namespace platform {

// The package version, the same for every program and the package itself.
const char* PackageVersion();

enum class InformationRequest { None, Help, Version };

// --help or --version as the whole command line (the arguments after the
// program name); any other command line keeps its own meaning.
InformationRequest FindInformationRequest(const std::vector<std::string>& arguments);

// The text that answers the request: `help` itself, or "PROGRAM VERSION".
// Ends with a line feed.
std::string InformationText(InformationRequest request, const std::string& program, const std::string& help);

}  // namespace platform
