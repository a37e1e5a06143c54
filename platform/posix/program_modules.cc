#include "platform/program_modules.h"

#include <dlfcn.h>

#include "platform/posix/executable_directory.h"

#ifndef KVITRA_MODULE_DIR_FROM_BINDIR
#define KVITRA_MODULE_DIR_FROM_BINDIR "../lib/kvitra/modules"
#endif

namespace platform {

std::string ProgramModuleFileName(const std::string& partName) { return partName + ".so"; }

void* LoadProgramModuleSymbol(const std::string& moduleFile, const char* symbol, std::string& error) {
  const std::string programDir = posix::ExecutableDirectory();
  error.clear();
  for (const std::string& dir : {programDir + "/" KVITRA_MODULE_DIR_FROM_BINDIR, programDir}) {
    const std::string path = dir + "/" + moduleFile;
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
      const char* why = ::dlerror();
      error += (error.empty() ? "" : "; ") + std::string(why ? why : path);
      continue;
    }
    if (void* address = ::dlsym(module, symbol)) return address;
    error += (error.empty() ? "" : "; ") + path + ": no " + symbol;
    ::dlclose(module);
  }
  return nullptr;
}

}  // namespace platform
