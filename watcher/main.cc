// Varden: watches the shared job directory and runs the printer program for
// each new job, one at a time under the directory's lock.
#include <QApplication>
#include <QMessageBox>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/job_file_probe.h"
#include "platform/process_launcher.h"
#include "platform/range_lock.h"
#include "watcher/varden_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  try {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const varden::WatcherPlatform world{platform::SystemClock(),
                                        platform::SystemRangeLocks(),
                                        platform::SystemProcessLauncher(),
                                        platform::SystemJobFileProbe(),
                                        platform::SystemEnvironment().ZembranoDir(),
                                        platform::PrinterProgramPath};
    varden::TVARD VARD(world, arguments);
    VARD.show();
    app.exec();
    VARD.PAM_KONIEC_PROG();
  } catch (const std::exception& error) {
    std::cerr << "varden: " << error.what() << "\n";
    QMessageBox::critical(nullptr, "VARDEN", QString::fromLocal8Bit(error.what()));
  }
  return 0;
}
