#include "tools/thermal-sim/standard_streams.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace thermal_sim {
namespace {

UINT consoleCodePageBefore = 0;

void RestoreConsoleCodePage() { SetConsoleOutputCP(consoleCodePageBefore); }

bool IsConsole(DWORD standardHandle) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

}  // namespace

// The paper is UTF-8 (the printer's Polish letters converted). Both streams
// are binary, so a redirected output gets the same bytes as on Linux (no CR
// before each line feed); a console shows them as UTF-8, and gets its code
// page back when the simulator ends.
void PrepareStandardStreams() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (!IsConsole(STD_OUTPUT_HANDLE) && !IsConsole(STD_ERROR_HANDLE)) return;
  consoleCodePageBefore = GetConsoleOutputCP();
  if (consoleCodePageBefore == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;
  std::atexit(RestoreConsoleCodePage);
}

}  // namespace thermal_sim
