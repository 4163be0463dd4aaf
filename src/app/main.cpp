#include <QApplication>

#include "app/Application.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  rkvt::Application program;
  program.Show();
  return qt.exec();
}
