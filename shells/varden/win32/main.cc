// VARDEN.EXE: watches the shared job directory and runs the printer program
// for each new job, one at a time under the directory's lock.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "platform/program_info.h"
#include "platform/termination_requests.h"
#include "platform/win32/wide_text.h"
#include "shells/win32/message_loop.h"
#include "shells/win32/startup_show_command.h"
#include "shells/varden/system_services.h"
#include "shells/varden/win32/varden_window.h"

namespace {

constexpr char kHelp[] = R"(Usage: VARDEN.EXE [JOB_DIRECTORY]
       VARDEN.EXE --help | --version

Watches JOB_DIRECTORY (default: %ZEMBRANO_DIR%, else C:\ZEMBRANO) for new
jobs, FAK_DANE.DAT, and runs KVITRA.EXE of that directory for each, one at a
time under the lock on bytes 0-3 of looku.dat there. Every message shown is
also written to standard error. The exit status is always 0.

Environment:
  ZEMBRANO_DIR     the default job directory (default C:\ZEMBRANO)
  VARDEN_NO_CHANGE_NOTIFICATIONS
                   when set and not empty, jobs are found by the 100 ms tick
                   alone, without the directory's change notifications

See docs\WINDOWS.md and README.md.
)";

// The arguments after the program name, as the logic takes texts: Windows-1250.
std::vector<std::string> Arguments(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(platform::win32::Cp1250FromWide(argv[i]));
  return arguments;
}

void Run(int argc, wchar_t** argv) {
  platform::WaitableEvent* terminationRequests = platform::TerminationRequests();
  varden::TVARD VARD(varden::SystemWatcherServices(), Arguments(argc, argv));
  if (!VARD.CreateWindowAndControls()) {
    std::fprintf(stderr, "varden: the window cannot be created (error %lu)\n", GetLastError());
    return;
  }
  VARD.Show(win32_shell::StartupShowCommand(false));
  // Change notifications make a job come sooner than Timer1 would find it.
  win32_shell::RunMessageLoop(VARD.Handle(), {{terminationRequests, [&VARD] { VARD.Close(); }},
                                              {VARD.Logic().ChangeEvent(), [&VARD] { VARD.Logic().OnDirectoryChanges(); }}});
  VARD.PAM_KONIEC_PROG();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const auto request = platform::FindInformationRequest(Arguments(argc, argv));
  if (request != platform::InformationRequest::None) {
    std::fputs(platform::InformationText(request, "VARDEN.EXE", kHelp).c_str(), stdout);
    return 0;
  }
  try {
    Run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "varden: %s\n", error.what());
    MessageBoxW(nullptr, platform::win32::WideFromCp1250(error.what()).c_str(), L"VARDEN", MB_OK | MB_ICONHAND);
  }
  return 0;
}
