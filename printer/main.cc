// Kvitra: runs the one job of its current directory and ends by itself, or
// stays as the error window. Takes no arguments; the exit code is always 0.
// The program itself holds no toolkit: the window is a module loaded only
// when there is a screen, so that a run without one starts at once.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/program_info.h"
#include "platform/program_modules.h"
#include "platform/termination_requests.h"
#include "printer/echoing_ui.h"
#include "printer/kvitra_run.h"
#include "printer/link/run_job.h"
#include "printer/start_options.h"
#include "printer/system_platform.h"
#include "printer/window_shell.h"

namespace {

constexpr char kHelp[] = R"(Usage: kvitra
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

// Without a screen the job runs as usual and a failed run ends at once: no
// one could confirm an error window. A termination request does not cut the
// run short: it ends by itself within the link's time limits.
void RunHeadless() {
  platform::TerminationRequests();
  kvitra::NoScreenUi noScreen;
  kvitra::EchoingUi ui(noScreen);
  kvitra::KvitraRun run(kvitra::SystemPlatform(), ui, kvitra::RunJob);
  try {
    run.Run();
  } catch (const std::exception& error) {
    kvitra::EchoToStderr(error.what());
  }
}

// The window's entry, linked in or loaded from its module; nullptr with
// `error` set when the module cannot be loaded.
KvitraWindowEntry WindowEntry(std::string& error) {
  if constexpr (platform::kProgramPartsLinkedIn) {
    return KvitraRunWithWindow;
  } else {
    const std::string module = platform::ProgramModuleFileName(kvitra::kWindowPartName);
    return reinterpret_cast<KvitraWindowEntry>(
        platform::LoadProgramModuleSymbol(module, kvitra::kWindowEntryName, error));
  }
}

// A missing window module must not cost the job: it then runs without the window.
void RunWithWindow(int argc, char** argv) {
  std::string error;
  if (KvitraWindowEntry entry = WindowEntry(error)) return entry(argc, argv);
  std::fprintf(stderr, "Kvitra: the error window cannot be loaded (%s); the job runs without it\n",
               error.c_str());
  RunHeadless();
}

}  // namespace

int main(int argc, char** argv) {
  const auto request = platform::FindInformationRequest(std::vector<std::string>(argv + 1, argv + argc));
  if (request != platform::InformationRequest::None) {
    std::fputs(platform::InformationText(request, "kvitra", kHelp).c_str(), stdout);
    return 0;
  }
  try {
    if (kvitra::RunsHeadless(platform::SystemEnvironment()))
      RunHeadless();
    else
      RunWithWindow(argc, argv);
  } catch (...) {
    std::fputs("Kvitra: unexpected failure\n", stderr);
  }
  return 0;
}
