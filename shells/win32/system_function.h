#pragma once
// A function of a system library that not every Windows version (or Wine)
// has: looked up at run time in the library the program has already loaded,
// so that the program still starts where it is missing.
#include <windows.h>

namespace win32_shell {

// nullptr when the library is not loaded or lacks the function.
template <class Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace win32_shell
