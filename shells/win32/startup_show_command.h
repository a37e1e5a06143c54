#pragma once
// How a program's main window is first shown.
namespace win32_shell {

// SW_SHOWMINIMIZED when `startMinimised`; otherwise what the starting program
// asked for through STARTUPINFO, else SW_SHOWNORMAL.
int StartupShowCommand(bool startMinimised);

}  // namespace win32_shell
