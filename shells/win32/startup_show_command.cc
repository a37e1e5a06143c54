#include "shells/win32/startup_show_command.h"

#include <windows.h>

namespace win32_shell {

int StartupShowCommand(bool startMinimised) {
  if (startMinimised) return SW_SHOWMINIMIZED;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
}

}  // namespace win32_shell
