// r-kvt-ms-shot: builds the program's main window, presses State, waits until
// the identification and the statistics read that follows it have ended, and
// saves a picture of the window. For looking at the window on a machine
// without a display (scripts/run.sh runs it under Xvfb). With --test it then
// connects that loop test and takes the picture after a few of its reads.
// --open BUTTON instead presses a button of the main window and pictures the
// window it opens (ButtonPort: the port dialog; ButtonSetup, ButtonSoftware);
// with --drop KEY the setup window shows the choice list of that parameter.
// With --update the update window is opened after State and pictured idle,
// with a valid image chosen, during the transfer and after a rejected file,
// as OUT-idle.png, OUT-ready.png, OUT-running.png and OUT-rejected.png.
//   r-kvt-ms-shot [--port PATH] [--hover CONTROL] [--test NAME] [--open BUTTON [--drop KEY]] [--update] OUT.png
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QStringList>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <cstdio>
#include <functional>

#include "sim/FirmwareImage.h"
#include "app/Application.h"
#include "app/QtMainWindow.h"
#include "app/QtSetupWindow.h"
#include "ui/widgets/QtParamListBox.h"
#include "firmware/TFormSoftware.h"
#include "mainwin/TFormMain.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: r-kvt-ms-shot [--port PATH] [--hover CONTROL] [--test NAME] [--open BUTTON [--drop KEY]] [--update] OUT.png\n");
  return 2;
}

// The update window's four looks, each after its step.
int UpdateShots(rkvt::Application& program, const QString& out) {
  QWidget& window = program.UpdateWindow();
  rkvt::TFormSoftware& form = program.FormSoftware();
  QTemporaryDir dir;
  const QString good = dir.filePath("r-kvt-ms-2_3.15.vrk"), cut = dir.filePath("cut-short.vrk");
  if (!rkvt::sim::FirmwareImage().WriteTo(good.toStdString()) ||
      !rkvt::sim::FirmwareImage().WriteTo(cut.toStdString(), 1000)) return 1;
  const auto until = [](const std::function<bool()>& done) { (void)QTest::qWaitFor(done, 120000); };
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"idle", [&] { program.FormMain().ButtonSoftware.Click(); until([&] { return window.isVisible(); }); }},
      {"ready", [&] { form.FileDropped(good); }},
      {"running", [&] { form.ButtonTransmitSoftwareModem.Click();  // until the time left is known
                        until([&] { return form.ProgressBar.Text().contains("left") || !form.TransferRunning(); }); }},
      {"rejected", [&] { form.ButtonTransmitSoftwareModem.Click();
                         until([&] { return !form.TransferRunning(); });
                         form.FileDropped(cut); }},
  };
  for (const auto& [name, step] : steps) {
    step();
    QTest::qWait(100);  // let the last repaint land
    const QString file = (out.endsWith(".png") ? out.chopped(4) : out) + '-' + name + ".png";
    if (!window.grab().save(file)) return 1;
    std::printf("%s\n", qPrintable(file));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QStringList args = QApplication::arguments().mid(1);
  rkvt::Application::Options options;
  QString hover;
  QString test;
  QString open;
  QString drop;
  QString out;
  bool update = false;
  while (!args.isEmpty()) {
    const QString arg = args.takeFirst();
    if (arg == QLatin1String("--port") && !args.isEmpty()) {
      options.port = args.takeFirst();
    } else if (arg == QLatin1String("--hover") && !args.isEmpty()) {
      hover = args.takeFirst();
    } else if (arg == QLatin1String("--test") && !args.isEmpty()) {
      test = args.takeFirst();
    } else if (arg == QLatin1String("--open") && !args.isEmpty()) {
      open = args.takeFirst();
    } else if (arg == QLatin1String("--drop") && !args.isEmpty()) {
      drop = args.takeFirst();
    } else if (arg == QLatin1String("--update")) {
      update = true;
    } else if (!arg.startsWith(QLatin1String("--")) && out.isEmpty()) {
      out = arg;
    } else {
      return Usage();
    }
  }
  if (out.isEmpty()) return Usage();

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
      [&] {
        // A port error leaves the caption as it was; its message says it has ended.
        return !form.CommandRunning() && (form.ButtonState.Caption() == QLatin1String("State") ||
                                          form.StaticTextMessages.Text().endsWith(QLatin1String("COM-port!")));
      },
      60000);

  bool testShown = true;
  if (!test.isEmpty()) {  // connect the test and let its counters move for a few reads
    const int item = form.ComboBoxTest.Items().indexOf(test);
    form.ComboBoxTest.Choose(item);
    window.findChild<QPushButton*>(QStringLiteral("ButtonTest"))->click();
    QTest::qWait(3000);
    testShown = item >= 0 && QTest::qWaitFor([&] {
      return !form.CommandRunning() && form.ButtonTest.Caption() == QLatin1String("Disconnect");
    }, 60000);
  }

  if (update) return ended ? UpdateShots(program, out) : 3;

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

  if (!open.isEmpty() && window.findChild<QPushButton*>(open)) {
    // A modal dialog runs its own event loop inside the click: look for the new window from a timer.
    QPixmap opened;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top == &window || !top->isVisible() || !qobject_cast<QDialog*>(top) || !poll.isActive()) continue;
        poll.stop();
        QTest::qWait(200);
        QRect area = top->frameGeometry();
        if (!drop.isEmpty() && top == &program.SetupWindow()) {
          program.FormSetup().ParamListBoxSetup.ClickLink(drop);
          QTest::qWait(200);  // the list paints itself
          if (program.SetupWindow().List().ChoicesShown()) area |= program.SetupWindow().List().Choices()->frameGeometry();
        }
        opened = drop.isEmpty() ? top->grab() : top->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        top->close();
      }
    });
    poll.start(50);
    window.findChild<QPushButton*>(open)->click();
    const bool shown = QTest::qWaitFor([&] { return !opened.isNull(); }, 30000) && opened.save(out);
    std::printf("%s\n", shown ? qPrintable(out) : "no window to picture");
    return shown ? 0 : 1;
  }

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
  return ended && testShown ? 0 : 3;
}
