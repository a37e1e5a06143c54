// Varden: watches the shared job directory and runs the printer program for
// each new job, one at a time under the directory's lock.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/directory_changes.h"
#include "platform/environment.h"
#include "platform/job_file_probe.h"
#include "platform/process_launcher.h"
#include "platform/program_info.h"
#include "platform/range_lock.h"
#include "watcher/varden_window.h"

namespace {

constexpr char kHelp[] = R"(Usage: varden [JOB_DIRECTORY]
       varden --help | --version

Watches JOB_DIRECTORY (default: $ZEMBRANO_DIR, else /opt/zembrano) for new
jobs, FAK_DANE.DAT, and runs the printer program for each, one at a time
under the lock on bytes 0-3 of looku.dat in that directory. A directory that
does not exist yet is named on standard error and watched all the same. Every
message shown is also written to standard error. The exit status is always 0;
varden ends when its window is closed, on SIGTERM or on SIGINT.

Environment:
  ZEMBRANO_DIR     the default job directory (default /opt/zembrano)
  KVITRA_PROGRAM   the printer program to run (default: kvitra beside varden)
  VARDEN_NO_CHANGE_NOTIFICATIONS
                   when set and not empty, jobs are found by the 100 ms tick
                   alone, without the directory's change notifications
  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM
                   the screen for varden's window

The manual: man varden (/usr/share/man/man1/varden.1.gz).
)";

// The directory's change notifications, unless the environment turns them off
// (to measure or to compare with the tick alone).
platform::DirectoryWatches* ChangeNotifications(platform::Environment& environment) {
  const auto off = environment.Variable("VARDEN_NO_CHANGE_NOTIFICATIONS");
  return off && !off->empty() ? nullptr : &platform::SystemDirectoryWatches();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const auto request = platform::FindInformationRequest(arguments);
  if (request != platform::InformationRequest::None) {
    std::fputs(platform::InformationText(request, "varden", kHelp).c_str(), stdout);
    return 0;
  }
  QApplication app(argc, argv);
  try {
    const varden::WatcherServices services{platform::SystemClock(),
                                        platform::SystemRangeLocks(),
                                        platform::SystemProcessLauncher(),
                                        platform::SystemJobFileProbe(),
                                        platform::SystemEnvironment().ZembranoDir(),
                                        platform::PrinterProgramPath,
                                        ChangeNotifications(platform::SystemEnvironment())};
    varden::TVARD VARD(services, arguments);
    VARD.show();
    app.exec();
    VARD.PAM_KONIEC_PROG();
  } catch (const std::exception& error) {
    std::cerr << "varden: " << error.what() << "\n";
    QMessageBox::critical(nullptr, "VARDEN", QString::fromLocal8Bit(error.what()));
  }
  return 0;
}
