#pragma once
// Parts of a program that only some runs need (Kvitra's error window, which
// needs the whole toolkit). Linux keeps each in a module file of its own,
// loaded only by a run that needs it, so that the others never load the
// toolkit; Windows links them into the program.
#include <string>

namespace platform {

// True where such parts are linked into the program: there is nothing to
// load, and the program calls a part's entry directly.
#if defined(_WIN32)
inline constexpr bool kProgramPartsLinkedIn = true;
#else
inline constexpr bool kProgramPartsLinkedIn = false;
#endif

// The module file of the part `partName` ("kvitra-window" is
// kvitra-window.so on Linux).
std::string ProgramModuleFileName(const std::string& partName);

// Loads `moduleFile` from the program's installed module directory, or from
// beside the program when it runs from its build directory, and returns the
// address of `symbol`; nullptr with `error` set when neither can be loaded.
void* LoadProgramModuleSymbol(const std::string& moduleFile, const char* symbol, std::string& error);

}  // namespace platform
