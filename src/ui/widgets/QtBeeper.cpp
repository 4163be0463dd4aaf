#include "ui/widgets/QtBeeper.h"

#include <QApplication>

namespace rkvt::ui {

void QtBeeper::Beep() { QApplication::beep(); }

}  // namespace rkvt::ui
