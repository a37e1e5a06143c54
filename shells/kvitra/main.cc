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
#include "printer/start_options.h"
#include "shells/kvitra/help_text.h"
#include "shells/kvitra/system_platform.h"
#include "shells/kvitra/window_part.h"

namespace {

// Without a screen the job runs as usual and a failed run ends at once: no
// one could confirm an error window. A termination request does not cut the
// run short: it ends by itself within the link's time limits.
void RunHeadless() {
  platform::TerminationRequests();
  kvitra::NoScreenUi noScreen;
  kvitra::EchoingUi ui(noScreen);
  kvitra::KvitraRun run(kvitra::SystemPlatform());
  try {
    run.Run(ui);
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
    std::fputs(platform::InformationText(request, kvitra::kProgramName, kvitra::kHelpText).c_str(), stdout);
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
