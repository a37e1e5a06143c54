#include "platform/program_info.h"

namespace platform {

const char* PackageVersion() { return KVITRA_PACKAGE_VERSION; }

InformationRequest FindInformationRequest(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return InformationRequest::None;
  if (arguments.front() == "--help") return InformationRequest::Help;
  if (arguments.front() == "--version") return InformationRequest::Version;
  return InformationRequest::None;
}

std::string InformationText(InformationRequest request, const std::string& program, const std::string& help) {
  if (request == InformationRequest::Version) return program + " " + PackageVersion() + "\n";
  if (request == InformationRequest::Help) return help.empty() || help.back() == '\n' ? help : help + "\n";
  return "";
}

}  // namespace platform
