// On Windows every part of a program is linked into it: there are no module
// files to load.
#include "platform/program_modules.h"

namespace platform {

std::string ProgramModuleFileName(const std::string& partName) { return partName + ".dll"; }

void* LoadProgramModuleSymbol(const std::string& moduleFile, const char*, std::string& error) {
  error = moduleFile + ": the program's parts are linked into it on Windows";
  return nullptr;
}

}  // namespace platform
