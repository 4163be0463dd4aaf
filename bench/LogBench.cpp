// The event log's costs: one line added to a file at its size cap, and the
// change detector during steady polling (it writes nothing). With --seconds
// it also runs the real main window offscreen against the emulator, polling
// statistics, and prints the log that polling wrote:
//   bench_log [--seconds N] [--script FILE] [--interval MS]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

#include "app/Application.h"
#include "app/QtMainWindow.h"
#include "mainwin/TFormMain.h"
#include "sim/ModemEmulator.h"
#include "sim/ModemScript.h"
#include "sim/SimOptions.h"
#include "support/TLog.h"

namespace {

using Micro = std::chrono::duration<double, std::micro>;
using rkvt::TLog;

TLog MakeLog(const QString& dir) { return TLog(QStringLiteral("R-KVT-MS_v2.48"), QStringLiteral("COM1"), true, dir); }

void AddAtCap(const QString& dir) {
  TLog log = MakeLog(dir);
  QFile file(log.Path());
  if (!file.open(QIODevice::WriteOnly)) return;
  const QByteArray line = QByteArray(98, 'x') + "\r\n";
  for (qint64 size = 0; size < TLog::kMaxFileBytes; size += line.size()) file.write(line);
  file.close();
  std::vector<double> ms;
  for (int i = 0; i < 200; ++i) {
    const auto start = std::chrono::steady_clock::now();
    log.Add(QStringLiteral("Line UP, line rate  256000 kbit/s, quality A"));
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("Add on a file at the cap (%lld bytes): median %.2f ms, slowest %.2f ms over %zu lines\n",
              static_cast<long long>(QFileInfo(log.Path()).size()), ms[ms.size() / 2], ms.back(), ms.size());
}

void SteadyMonitor(const QString& dir) {
  TLog log = MakeLog(dir);
  std::array<std::uint8_t, 120> block{25};
  TLog::Window w{
      .snapshot = block, .interfaceCode = 5, .lineRate = QStringLiteral(" 256000"), .quality = QStringLiteral("A")};
  w.parameters = {QStringLiteral("0x001F"), QStringLiteral("0x0000"), QStringLiteral("0"), QStringLiteral("0")};
  log.Monitor(w);  // the summary and the first states
  log.SetMonitoring(true);
  const qint64 size = QFileInfo(log.Path()).size();
  constexpr int kCalls = 200000;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kCalls; ++i) log.Monitor(w);
  const double us = Micro(std::chrono::steady_clock::now() - start).count() / kCalls;
  std::printf("Monitor during steady polling: %.3f us a call, file %s\n", us,
              QFileInfo(log.Path()).size() == size ? "unchanged" : "CHANGED");
}

// The real window polling an emulated modem, its script played meanwhile.
int Poll(int seconds, const std::string& scriptPath, int intervalMs) {
  std::vector<rkvt::sim::ScriptStep> script;
  if (!scriptPath.empty()) {
    std::ifstream in(scriptPath);
    auto parsed = rkvt::sim::ParseScript(in);
    if (!in.is_open() || std::holds_alternative<std::string>(parsed)) {
      std::fprintf(stderr, "bench_log: %s: cannot use the script\n", scriptPath.c_str());
      return 64;
    }
    script = std::get<0>(parsed);
  }
  auto options = std::get<rkvt::sim::SimOptions>(rkvt::sim::ParseSimOptions({"--link", "unused"}));
  rkvt::sim::ModemEmulator modem(std::get<rkvt::sim::ModemModel>(rkvt::sim::BuildModel(options)));
  modem.SetBaudRate(115200);

  QTemporaryDir dir;
  QFile cfg(dir.filePath(QStringLiteral("r-kvt-ms_v2.48.cfg")));
  if (!cfg.open(QIODevice::WriteOnly)) return 1;
  cfg.write(
      QStringLiteral("[Config]\nStatInterval=%1\nLoopInterval=1000\nCreateLogFiles=yes\n").arg(intervalMs).toUtf8());
  cfg.close();
  auto program =
      std::make_unique<rkvt::Application>(rkvt::Application::Options{.placementDirectory = dir.path(),
                                                                     .workingDirectory = dir.path(),
                                                                     .port = QString::fromStdString(modem.PortPath())});
  rkvt::TFormMain& form = program->FormMain();
  const QString logPath = dir.filePath(TLog::FileName(rkvt::TFormMain::kProgramTitle, form.PortName()));
  // Time the log's part of every completion, apart for those that wrote lines.
  auto monitor = form.EventLog.monitor;
  std::array<double, 2> us{};
  std::array<int, 2> calls{};
  form.EventLog.monitor = [&](std::span<const std::uint8_t> snapshot) {
    const qint64 size = QFileInfo(logPath).size();
    const auto start = std::chrono::steady_clock::now();
    monitor(snapshot);
    const double took = Micro(std::chrono::steady_clock::now() - start).count();
    const bool wrote = QFileInfo(logPath).size() != size;
    us[wrote] += took;
    ++calls[wrote];
  };
  program->Show();
  auto press = [&](const char* name) { program->MainWindow().findChild<QPushButton*>(QLatin1String(name))->click(); };
  QElapsedTimer clock;
  clock.start();
  std::size_t next = 0;
  const auto play = [&] {
    for (; next < script.size() && script[next].atSeconds * 1000LL <= clock.elapsed(); ++next)
      modem.Configure([&](rkvt::sim::ModemModel& m) { rkvt::sim::ApplyStep(m, script[next]); });
  };
  play();
  press("ButtonState");
  if (!QTest::qWaitFor([&] { return !form.CommandRunning(); }, 10000)) std::fprintf(stderr, "State did not end\n");
  press("ButtonStatistics");

  while (clock.elapsed() < seconds * 1000LL) {
    play();
    QTest::qWait(50);
  }
  press("ButtonStatistics");
  if (!QTest::qWaitFor([&] { return !form.CommandRunning(); }, 10000)) std::fprintf(stderr, "polling did not stop\n");
  program.reset();

  std::printf(
      "real window, %d s of polling every %d ms: %d completions wrote nothing, %.1f us each on average;"
      " %d wrote lines, %.2f ms each\n",
      seconds, intervalMs, calls[0], calls[0] ? us[0] / calls[0] : 0.0, calls[1],
      calls[1] ? us[1] / calls[1] / 1000 : 0.0);
  QFile log(logPath);
  if (log.open(QIODevice::ReadOnly))
    std::fwrite(log.readAll().constData(), 1, static_cast<std::size_t>(log.size()), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  int seconds = 0, interval = 1000;
  std::string script;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i];
    if (arg == "--seconds")
      seconds = std::atoi(argv[i + 1]);
    else if (arg == "--interval")
      interval = std::max(1, std::atoi(argv[i + 1]));
    else if (arg == "--script")
      script = argv[i + 1];
  }
  QTemporaryDir dir;
  AddAtCap(dir.path());
  SteadyMonitor(dir.path());
  return seconds > 0 ? Poll(seconds, script, interval) : 0;
}
