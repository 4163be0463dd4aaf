// Prints the time from program start to the first shown main window, and the
// resident memory once it is shown. Runs offscreen unless a display is set.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "app/Application.h"
#include "app/QtMainWindow.h"

namespace {

long ResidentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  QTemporaryDir dir;
  rkvt::Application::Options options;
  options.placementDirectory = dir.path();
  options.workingDirectory = dir.path();
  rkvt::Application program(options);
  program.Show();
  if (!QTest::qWaitForWindowExposed(&program.MainWindow())) {
    std::fprintf(stderr, "the main window was never shown\n");
    return 1;
  }
  const qint64 shown = clock.elapsed();
  std::printf("start-up to the shown main window: %lld ms\n", shown);
  std::printf("resident memory once shown: %ld KiB\n", ResidentKiB());
  return 0;
}
