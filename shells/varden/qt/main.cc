// Varden: watches the shared job directory and runs the printer program for
// each new job, one at a time under the directory's lock.
#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/program_info.h"
#include "shells/varden/qt/varden_window.h"
#include "shells/varden/system_services.h"

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
    varden::TVARD VARD(varden::SystemWatcherServices(), arguments);
    VARD.show();
    app.exec();
    VARD.PAM_KONIEC_PROG();
  } catch (const std::exception& error) {
    std::cerr << "varden: " << error.what() << "\n";
    QMessageBox::critical(nullptr, "VARDEN", QString::fromLocal8Bit(error.what()));
  }
  return 0;
}
