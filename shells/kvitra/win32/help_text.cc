// KVITRA.EXE's answer to --help.
#include "shells/kvitra/help_text.h"

namespace kvitra {

const char kProgramName[] = "KVITRA.EXE";

const char kHelpText[] = R"(Usage: KVITRA.EXE
       KVITRA.EXE --help | --version

Runs the one job waiting in the current directory, the job directory: reads
FAK_DANE.DAT and PORT.CFG there, drives the fiscal printer, archives the job
under Documents\KVITRA and writes the result line "##N" over FAK_DANE.DAT.
Other arguments are ignored. A failed job leaves FAK_DANE.DAT as it was and
keeps the error window open until it is closed; without a window its message
goes to standard error only and KVITRA.EXE ends at once. The exit status is
always 0.

Settings: HKEY_CURRENT_USER\SOFTWARE\NORVEL\PrnSetup (Code_Page, COM_Speed,
Flow_Ctrl_Xon_Xoff), created empty when missing.

Environment:
  ZEMBRANO_DIR             the host application's directory with the marker
                           files (default C:\ZEMBRANO)
  KVITRA_START_MINIMISED   1: the window starts minimised (VARDEN.EXE
                           starts it minimised in any case)
  KVITRA_HEADLESS          1: no window; messages go to standard error only

See docs\WINDOWS.md and README.md.
)";

}  // namespace kvitra
