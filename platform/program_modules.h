#pragma once
// Parts of a program that are loaded only when they are needed (Kvitra's
// error window, which needs the whole toolkit).
#include <string>

namespace platform {

// Loads `moduleName` from the program's installed module directory, or from
// beside the program when it runs from its build directory, and returns the
// address of `symbol`; nullptr with `error` set when neither can be loaded.
void* LoadProgramModuleSymbol(const std::string& moduleName, const char* symbol, std::string& error);

}  // namespace platform
