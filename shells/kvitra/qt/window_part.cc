// The error window's event loop around one run, with termination requests
// turned into close requests.
#include "shells/kvitra/window_part.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "platform/termination_requests.h"
#include "printer/echoing_ui.h"
#include "printer/kvitra_run.h"
#include "printer/start_options.h"
#include "shells/kvitra/qt/kvitra_window.h"
#include "shells/kvitra/system_platform.h"
#include "shells/qt/termination_notifier.h"

namespace {

// A fatal toolkit error (for example a display that cannot be reached)
// still ends the program with exit code 0, after leaving its trace.
void ToolkitMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  if (type == QtFatalMsg) std::_Exit(0);
}

void RunWithWindow(int argc, char** argv) {
  // Installed before the toolkit starts: a request that comes meanwhile waits
  // for the loop.
  platform::TerminationRequests();
  qInstallMessageHandler(ToolkitMessages);
  QApplication app(argc, argv);
  try {
    kvitra::KvitraRun run(kvitra::SystemPlatform());
    TfrmKvitra frmKvitra(run);
    // A termination request is a close request, seen once the running handler has returned.
    qt_shell::OnTerminationRequest(frmKvitra, [&frmKvitra] { frmKvitra.close(); });
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

extern "C" void KvitraRunWithWindow(int argc, char** argv) {
  try {
    RunWithWindow(argc, argv);
  } catch (...) {
    std::fputs("Kvitra: unexpected failure\n", stderr);
  }
}
