// The idle floor of a Qt program like Varden: a shown window and a 100 ms
// timer whose handler does nothing. Its CPU time is what the event loop's
// wake-ups cost before Varden's own work starts. Ends on SIGTERM.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <csignal>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::signal(SIGTERM, [](int) { QCoreApplication::exit(0); });
  QWidget window;
  window.setGeometry(5, 5, 511, 214);
  window.show();
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [] {});
  tick.start(100);
  return app.exec();
}
