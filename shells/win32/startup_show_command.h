#pragma once
// How a program's main window is first shown.
namespace win32_shell {

// What the starting program asked for through STARTUPINFO (Varden starts
// Kvitra minimised that way); else minimised without taking the focus when
// `startMinimised`, else SW_SHOWNORMAL.
int StartupShowCommand(bool startMinimised);

}  // namespace win32_shell
