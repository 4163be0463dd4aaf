#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <vector>

#include "link/Frame.h"
#include "sim/ModemEmulator.h"
#include "link/Commands.h"

namespace rkvt::test {

// What one run of r-kvt-ms-cli left behind; finished: ended by itself within the limit.
struct CliRun {
  bool finished = false;
  int exitCode = -1;
  QString out, err;

  QStringList OutLines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

// A result line as the program prints it.
inline QString R(std::uint8_t result) {
  const std::string_view meaning = FindResult(result).meaning;
  return QStringLiteral("result %1: %2").arg(result).arg(QLatin1String(meaning.data(), meaning.size()));
}

inline Frame Req(std::uint8_t address, std::uint8_t code, std::vector<std::uint8_t> data = {}) {
  return BuildRequest(address, code, data);
}

// Runs a program to its end; whileRunning is called once it has started.
inline CliRun RunProgram(const QString& program, const QStringList& arguments,
                         const std::function<void(QProcess&)>& whileRunning = {}, int limitMs = 60000) {
  QProcess process;
  process.start(program, arguments);
  CliRun run;
  if (!process.waitForStarted(10000)) return run;
  if (whileRunning) whileRunning(process);
  run.finished = process.waitForFinished(limitMs);
  if (!run.finished) process.kill();
  process.waitForFinished();
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

// Runs the built r-kvt-ms-cli to its end.
inline CliRun RunCli(const QStringList& arguments, const std::function<void(QProcess&)>& whileRunning = {},
                     int limitMs = 60000) {
  return RunProgram(QStringLiteral(RKVT_CLI_PATH), arguments, whileRunning, limitMs);
}

// A modem on a pty for the program to talk to.
struct CliOnPty {
  explicit CliOnPty(sim::ModemModel model = {}) : modem(std::move(model)) {}

  // With fast time-outs.
  CliRun Run(const QStringList& arguments) {
    return RunCli(QStringList{"--port", QString::fromStdString(modem.PortPath()), "--fast-timeouts"} + arguments);
  }

  // Frames the emulator received, once no more are on their way.
  std::vector<sim::JournalEntry> SettledJournal() {
    std::size_t seen = modem.FrameCount();
    while (modem.WaitForFrames(seen + 1, std::chrono::milliseconds(100))) seen = modem.FrameCount();
    return modem.Journal();
  }
  std::vector<Frame> Sent() {
    std::vector<Frame> frames;
    for (const auto& entry : SettledJournal()) frames.push_back(entry.frame);
    return frames;
  }

  sim::ModemEmulator modem;
};

}  // namespace rkvt::test
