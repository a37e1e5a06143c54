#include "shells/win32/startup_show_command.h"

#include <windows.h>

namespace win32_shell {

int StartupShowCommand(bool startMinimised) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  if (startup.dwFlags & STARTF_USESHOWWINDOW) return startup.wShowWindow;
  return startMinimised ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL;
}

}  // namespace win32_shell
