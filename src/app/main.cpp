#include <QApplication>

#include "app/Application.h"
#include "app/QuitOnSignals.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  // Ends the event loop; the program then closes down in its usual order.
  // Installed first, so that a signal during start-up is not lost.
  rkvt::QuitOnSignals quit([] { QCoreApplication::quit(); });
  rkvt::Application program;
  program.Show();
  return qt.exec();
}
