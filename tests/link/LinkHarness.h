#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "sim/ModemEmulator.h"
#include "link/PortError.h"
#include "link/QtSerialPort.h"
#include "link/TProtocol.h"

namespace rkvt::test {

using namespace std::chrono_literals;

// Short enough that a silent modem costs tests little, long enough for a pty.
inline LinkTimings FastTimings() { return {.acknowledgementMs = 150, .answerMs = 1500, .attempts = 3}; }

inline PortSettings SettingsFor(const std::string& path) {
  PortSettings settings;
  settings.name = QString::fromStdString(path);
  return settings;
}

inline PortFactory PortOn(const std::string& path) {
  return [settings = SettingsFor(path)] { return std::make_unique<QtSerialPort>(settings); };
}

// Frames the emulator received, once no more are on their way.
inline std::vector<sim::JournalEntry> SettledJournal(const sim::ModemEmulator& modem) {
  std::size_t seen = modem.FrameCount();
  while (modem.WaitForFrames(seen + 1, 100ms)) seen = modem.FrameCount();
  return modem.Journal();
}

struct RecordingHost : ProtocolHost {
  void ShowStatusText(const QString& text) override { texts.push_back(text); }
  void ShowProgress(int value) override {
    progress.push_back(value);
    if (onProgress) onProgress(value);
  }
  void Beep() override { ++beeps; }
  void ShowStatusDetail(const QString& detail) override { details.push_back(detail); }

  std::vector<QString> texts;
  std::vector<QString> details;
  std::vector<int> progress;
  int beeps = 0;
  std::function<void(int)> onProgress;
};

struct WorkerRun {
  bool completed = false;
  qint64 elapsedMs = 0;
};

// Starts the worker and runs the event loop until its completion handler has
// run (or a generous limit passes, so a hang fails instead of blocking).
inline WorkerRun RunWorker(TProtocol* worker, const std::function<void(TProtocol*)>& onStarted = {},
                           int limitMs = 120000) {
  WorkerRun run;
  QEventLoop loop;
  QElapsedTimer clock;
  worker->OnTerminate = [&](TProtocol&) {
    run = {true, clock.elapsed()};
    loop.quit();
  };
  QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
  clock.start();
  worker->Start();
  if (onStarted) onStarted(worker);
  loop.exec();
  return run;
}

// Stops the worker the given time after its start.
inline std::function<void(TProtocol*)> StopAfter(int ms) {
  return [ms](TProtocol* worker) { QTimer::singleShot(ms, worker, [worker] { worker->Terminate(); }); };
}

// A modem on a pty and a way to run one worker command against it.
struct WorkerOnPty {
  explicit WorkerOnPty(sim::ModemModel model = {}) : modem(std::move(model)) {}

  // Runs the command to its end; returns the result code, reply byte 0.
  std::uint8_t RunCommand(std::uint8_t command, std::uint8_t subAddress, bool local, std::span<std::uint8_t> reply,
                          int softwareLevel = 0, std::span<const std::uint8_t> image = {},
                          const std::function<void(TProtocol*)>& onStarted = {}, LinkTimings timings = FastTimings()) {
    run = RunWorker(new TProtocol(command, subAddress, local, static_cast<std::uint16_t>(reply.size()), reply.data(),
                                  {PortOn(modem.PortPath()), timings, &host, softwareLevel, image}),
                    onStarted);
    EXPECT_TRUE(run.completed);
    return reply[0];
  }
  std::vector<sim::JournalEntry> SettledJournal() const { return test::SettledJournal(modem); }

  sim::ModemEmulator modem;
  RecordingHost host;
  WorkerRun run;
};

}  // namespace rkvt::test
