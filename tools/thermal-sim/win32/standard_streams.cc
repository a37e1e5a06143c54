#include "tools/thermal-sim/standard_streams.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace thermal_sim {
namespace {

// Larger than any printout, so that each goes out in one write.
constexpr size_t kConsoleBufferSize = 64 * 1024;

UINT consoleCodePageBefore = 0;

void RestoreConsoleCodePage() { SetConsoleOutputCP(consoleCodePageBefore); }

bool StandardOutputIsConsole() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

}  // namespace

// The paper is UTF-8 (the printer's Polish letters converted). Both streams
// are binary, so a redirected output gets the same bytes as on Linux (no CR
// before each line feed); a console shows them as UTF-8, and gets its code
// page back when the simulator ends. The C runtime writes an unbuffered
// console stream a byte at a time, and a console decodes each write on its
// own, so a letter's two bytes would arrive apart: standard output is fully
// buffered instead, and every printout is flushed whole.
void PrepareStandardStreams() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (!StandardOutputIsConsole()) return;
  std::setvbuf(stdout, nullptr, _IOFBF, kConsoleBufferSize);
  consoleCodePageBefore = GetConsoleOutputCP();
  if (consoleCodePageBefore == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8)) return;
  std::atexit(RestoreConsoleCodePage);
}

}  // namespace thermal_sim
