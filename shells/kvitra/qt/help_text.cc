// kvitra's answer to --help on Linux.
#include "shells/kvitra/help_text.h"

namespace kvitra {

const char kProgramName[] = "kvitra";

const char kHelpText[] = R"(Usage: kvitra
       kvitra --help | --version

Runs the one job waiting in the current directory, the job directory: reads
FAK_DANE.DAT and PORT.CFG there, drives the fiscal printer, archives the job
and writes the result line "##N" over FAK_DANE.DAT. Other arguments are
ignored. A failed job leaves FAK_DANE.DAT as it was and keeps the error window
open until it is closed; without a screen its message goes to standard error
and kvitra ends at once. The exit status is always 0.

Environment:
  ZEMBRANO_DIR             the host application's directory with the marker
                           files (default /opt/zembrano)
  XDG_CONFIG_HOME, HOME    the printer settings are read from
                           $XDG_CONFIG_HOME/NORVEL/PrnSetup.reg
                           (default $HOME/.config/NORVEL/PrnSetup.reg)
  KVITRA_START_MINIMISED   1: the window starts minimised (set by varden)
  KVITRA_HEADLESS          1: no window whatever the screen; messages go to
                           standard error only
  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM
                           with none of them set there is no screen: kvitra
                           runs without a window

The manual: man kvitra (/usr/share/man/man1/kvitra.1.gz).
)";

}  // namespace kvitra
