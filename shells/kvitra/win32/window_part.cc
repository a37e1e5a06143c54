// The error window's message loop around one run, with termination requests
// turned into close requests. Linked into KVITRA.EXE.
#include "shells/kvitra/window_part.h"

#include <windows.h>

#include <cstdio>
#include <exception>

#include "platform/environment.h"
#include "platform/termination_requests.h"
#include "platform/win32/wide_text.h"
#include "printer/echoing_ui.h"
#include "printer/kvitra_run.h"
#include "printer/start_options.h"
#include "shells/kvitra/system_platform.h"
#include "shells/kvitra/win32/kvitra_window.h"
#include "shells/win32/message_loop.h"
#include "shells/win32/startup_show_command.h"

namespace {

// Without a window the job must still run; its messages then go to standard
// error only.
void RunWithoutWindow(kvitra::JobRun& run) {
  kvitra::NoScreenUi noScreen;
  kvitra::EchoingUi ui(noScreen);
  run.Run(ui);
}

void RunWithWindow() {
  // Installed before the window exists: a request that comes meanwhile waits
  // for the loop.
  platform::WaitableEvent* terminationRequests = platform::TerminationRequests();
  kvitra::KvitraRun run(kvitra::SystemPlatform());
  TfrmKvitra frmKvitra(run);
  if (!frmKvitra.CreateWindowAndControls()) {
    std::fprintf(stderr, "Kvitra: the error window cannot be created (error %lu); the job runs without it\n",
                 GetLastError());
    RunWithoutWindow(run);
    return;
  }
  frmKvitra.Show(win32_shell::StartupShowCommand(kvitra::StartMinimised(platform::SystemEnvironment())));
  // A termination request is a close request, seen once the running handler has returned.
  win32_shell::RunMessageLoop(frmKvitra.Handle(), {{terminationRequests, [&frmKvitra] { frmKvitra.Close(); }}});
}

}  // namespace

extern "C" void KvitraRunWithWindow(int, char**) {
  try {
    RunWithWindow();
  } catch (const std::exception& error) {
    kvitra::EchoToStderr(error.what());
    MessageBoxW(nullptr, platform::win32::WideFromCp1250(error.what()).c_str(), L"Kvitra", MB_OK | MB_ICONHAND);
  } catch (...) {
    std::fputs("Kvitra: unexpected failure\n", stderr);
  }
}
