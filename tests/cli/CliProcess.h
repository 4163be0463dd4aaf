#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <vector>

#include "ModemEmulator.h"

namespace rkvt::test {

// What one run of r-kvt-ms-cli left behind.
struct CliRun {
  bool finished = false;  // ended by itself within the limit
  int exitCode = -1;
  QString out;
  QString err;

  QStringList OutLines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

// Runs the built program to its end. whileRunning is called once the process
// has started, e.g. to interrupt it.
inline CliRun RunCli(const QStringList& arguments, const std::function<void(QProcess&)>& whileRunning = {},
                     int limitMs = 60000) {
  QProcess process;
  process.start(QStringLiteral(RKVT_CLI_PATH), arguments);
  CliRun run;
  if (!process.waitForStarted(10000)) return run;
  if (whileRunning) whileRunning(process);
  run.finished = process.waitForFinished(limitMs);
  if (!run.finished) {
    process.kill();
    process.waitForFinished();
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

// A modem on a pty for the program to talk to.
class CliOnPty {
 public:
  explicit CliOnPty(sim::ModemModel model = {}) : modem(std::move(model)) {}

  // Fast time-outs unless a test needs the real ones.
  CliRun Run(QStringList arguments, bool fast = true) {
    QStringList all{QStringLiteral("--port"), QString::fromStdString(modem.PortPath())};
    if (fast) all << QStringLiteral("--fast-timeouts");
    return RunCli(all + arguments);
  }

  // Frames the emulator received, once no more are on their way.
  std::vector<sim::JournalEntry> SettledJournal() {
    using namespace std::chrono_literals;
    std::size_t seen = modem.FrameCount();
    while (modem.WaitForFrames(seen + 1, 100ms)) seen = modem.FrameCount();
    return modem.Journal();
  }

  sim::ModemEmulator modem;
};

}  // namespace rkvt::test
