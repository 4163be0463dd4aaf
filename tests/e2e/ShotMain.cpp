// r-kvt-ms-shot: builds the program's main window, presses State, waits until
// the identification and the statistics read that follows it have ended, and
// saves a picture of the window. For looking at the window on a machine
// without a display (scripts/run.sh runs it under Xvfb).
// With --setup it goes on into setup and pictures the setup window instead,
// with --drop KEY the choice list of that parameter dropped down; with
// --font-scale F the program's font is F times its usual size.
//   r-kvt-ms-shot [--port PATH] [--hover CONTROL] [--setup] [--drop KEY] [--font-scale F] OUT.png
#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QStringList>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QToolTip>
#include <cstdio>

#include "app/Application.h"
#include "app/QtMainWindow.h"
#include "app/QtSetupWindow.h"
#include "setup/TFormSetup.h"
#include "ui/widgets/QtParamListBox.h"
#include "mainwin/TFormMain.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: r-kvt-ms-shot [--port PATH] [--hover CONTROL] [--setup] [--drop KEY] [--font-scale F] OUT.png\n");
  return 2;
}

// Setup, then a picture of the setup window (and of its dropped-down list).
int SetupShot(rkvt::Application& program, const QString& drop, const QString& out) {
  rkvt::TFormSetup& form = program.FormSetup();
  rkvt::QtSetupWindow& window = program.SetupWindow();
  program.FormMain().ButtonSetup.Click();
  if (!QTest::qWaitFor([&] { return form.Shown(); }, 60000) || !QTest::qWaitForWindowExposed(&window)) return 3;
  QRect area = window.frameGeometry();
  if (!drop.isEmpty()) {
    form.ParamListBoxSetup.ClickLink(drop);
    if (!window.List().ChoicesShown()) return 3;
    area |= window.List().Choices()->frameGeometry();
  }
  QTest::qWait(100);
  const QPixmap picture = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  return picture.save(out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QStringList args = QApplication::arguments().mid(1);
  rkvt::Application::Options options;
  QString hover;
  QString drop;
  bool setup = false;
  double fontScale = 1.0;
  QString out;
  while (!args.isEmpty()) {
    const QString arg = args.takeFirst();
    if (arg == QLatin1String("--port") && !args.isEmpty()) {
      options.port = args.takeFirst();
    } else if (arg == QLatin1String("--hover") && !args.isEmpty()) {
      hover = args.takeFirst();
    } else if (arg == QLatin1String("--setup")) {
      setup = true;
    } else if (arg == QLatin1String("--drop") && !args.isEmpty()) {
      setup = true;
      drop = args.takeFirst();
    } else if (arg == QLatin1String("--font-scale") && !args.isEmpty()) {
      fontScale = args.takeFirst().toDouble();
      if (fontScale <= 0) return Usage();
    } else if (!arg.startsWith(QLatin1String("--")) && out.isEmpty()) {
      out = arg;
    } else {
      return Usage();
    }
  }
  if (out.isEmpty()) return Usage();

  if (fontScale != 1.0) {
    QFont font = QApplication::font();
    font.setPointSizeF(font.pointSizeF() * fontScale);
    QApplication::setFont(font);
  }
  rkvt::Application program(options);
  rkvt::QtMainWindow& window = program.MainWindow();
  rkvt::TFormMain& form = program.FormMain();
  program.Show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "r-kvt-ms-shot: the window was not shown\n");
    return 1;
  }
  QApplication::setActiveWindow(&window);

  window.findChild<QPushButton*>(QStringLiteral("ButtonState"))->click();
  // Identify, then the one statistics read it chains into; a silent modem
  // takes three acknowledgement time-outs.
  const bool ended = QTest::qWaitFor(
      [&] { return !form.CommandRunning() && form.ButtonState.Caption() == QLatin1String("State"); }, 60000);

  if (setup) return ended ? SetupShot(program, drop, out) : 3;

  bool tooltip = false;
  if (!hover.isEmpty()) {
    if (auto* target = window.findChild<QWidget*>(hover)) {
      QCursor::setPos(target->mapToGlobal(target->rect().center()));
      QTest::mouseMove(target);
      // Tooltips are windows of their own: take the screen around the window.
      tooltip = QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000);
    }
  }
  QTest::qWait(100);  // let the last repaint land

  QRect area = window.frameGeometry();
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->inherits("QTipLabel") && top->isVisible()) area |= top->frameGeometry();
  const QPixmap picture =
      tooltip ? window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()) : window.grab();
  if (!picture.save(out)) {
    std::fprintf(stderr, "r-kvt-ms-shot: cannot write %s\n", qPrintable(out));
    return 1;
  }
  std::printf("%s\n", qPrintable(out));
  std::printf("message:%s\n", qPrintable(form.StaticTextMessages.Text()));
  return ended ? 0 : 3;
}
