// Prints the longest stall of the user-interface thread while the main
// window's commands run against the emulator: a 1 ms timer on that thread
// measures how late each of its ticks comes.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "sim/ModemEmulator.h"
#include "link/ProtocolRunner.h"
#include "ui/QtClock.h"
#include "mainwin/TFormMain.h"
#include "support/TIni.h"
#include "support/TInvisible.h"

namespace {

using namespace rkvt;

class NoBeep : public ui::Beeper {
 public:
  void Beep() override {}
};
class NoDialog : public ui::PortDialog {
 public:
  bool Edit(PortSettings&) override { return false; }
};

// Runs the event loop for ms while watching for stalls; returns the worst one.
qint64 WorstStall(int ms) {
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0;
  qint64 worst = 0;
  QTimer probe;
  probe.setTimerType(Qt::PreciseTimer);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    worst = std::max(worst, now - last);
    last = now;
  });
  probe.start(1);
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  return worst;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir config;
  sim::ModemEmulator modem;
  TIni ini(config.path());
  ui::QtClock clock;
  TInvisible invisible(clock, ini);
  invisible.ComPort().name = QString::fromStdString(modem.PortPath());
  ProtocolRunner runner(invisible.ComPort());
  NoBeep beeper;
  NoDialog dialog;
  TFormMain form(invisible, clock, {.statisticsMs = 100, .loopMs = 100}, runner, beeper, dialog);

  std::printf("idle event loop:                         worst stall %3lld ms\n", WorstStall(500));
  form.ButtonState.Click();
  const qint64 identify = WorstStall(1000);
  std::printf("State (identify, then statistics):        worst stall %3lld ms  -> %s\n", identify,
              qPrintable(form.StaticTextMessages.Text()));
  form.ButtonStatistics.Click();
  const qint64 polling = WorstStall(3000);
  std::printf("statistics polled every 100 ms for 3 s:  worst stall %3lld ms  -> %s (%zu frames)\n", polling,
              qPrintable(form.StaticTextMessages.Text()), modem.FrameCount());
  form.ButtonStatistics.Click();
  WorstStall(300);
  return 0;
}
