// Kvitra: runs the one job of its current directory and ends by itself, or
// stays as the error window. Takes no arguments; the exit code is always 0.
#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/termination_signals.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "platform/tcp_network.h"
#include "printer/kvitra_run.h"
#include "printer/kvitra_window.h"
#include "printer/link/run_job.h"
#include "printer/start_options.h"
#include "printer/stderr_ui.h"

namespace {

// A fatal toolkit error (for example a display that cannot be reached)
// still ends the program with exit code 0, after leaving its trace.
void ToolkitMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  if (type == QtFatalMsg) std::_Exit(0);
}

kvitra::RunPlatform SystemPlatform() {
  return {platform::SystemClock(),       platform::SystemFiles(),       platform::SystemEnvironment(),
          platform::UserSettingsStore(), platform::SystemSerialPorts(), platform::SystemTcpNetwork()};
}

// Without a screen the job runs as usual and a failed run ends at once: no
// one could confirm an error window.
void RunHeadless() {
  kvitra::StderrUi ui;
  kvitra::KvitraRun run(SystemPlatform(), ui, kvitra::RunJob);
  try {
    run.Run();
  } catch (const std::exception& error) {
    kvitra::EchoToStderr(error.what());
  }
}

void RunWithWindow(int argc, char** argv, int terminationFd) {
  qInstallMessageHandler(ToolkitMessages);
  QApplication app(argc, argv);
  try {
    TfrmKvitra frmKvitra(SystemPlatform(), kvitra::RunJob);
    // SIGTERM (and SIGINT) is a close request, seen once the running handler has returned.
    std::unique_ptr<QSocketNotifier> terminate;
    if (terminationFd >= 0) {
      terminate = std::make_unique<QSocketNotifier>(terminationFd, QSocketNotifier::Read);
      QObject::connect(terminate.get(), &QSocketNotifier::activated, &frmKvitra, [&] {
        platform::DrainTerminationRequests();
        frmKvitra.close();
      });
    }
    if (kvitra::StartMinimised(platform::SystemEnvironment()))
      frmKvitra.showMinimized();
    else
      frmKvitra.show();
    app.exec();
  } catch (const std::exception& error) {
    kvitra::EchoToStderr(error.what());
    QMessageBox::critical(nullptr, QStringLiteral("Kvitra"), QString::fromLocal8Bit(error.what()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    int terminationFd = platform::TerminationRequestDescriptor();
    if (kvitra::RunsHeadless(platform::SystemEnvironment()))
      RunHeadless();
    else
      RunWithWindow(argc, argv, terminationFd);
  } catch (...) {
    std::fputs("Kvitra: unexpected failure\n", stderr);
  }
  return 0;
}
