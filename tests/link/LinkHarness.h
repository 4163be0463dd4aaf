#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "ModemEmulator.h"
#include "PortError.h"
#include "QtSerialPort.h"
#include "TProtocol.h"

namespace rkvt::test {

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

class RecordingHost : public ProtocolHost {
 public:
  void ShowStatusText(const QString& text, bool toUpdateWindow) override {
    texts.push_back(text);
    toUpdate.push_back(toUpdateWindow);
  }
  void ShowProgress(int value) override {
    progress.push_back(value);
    if (onProgress) onProgress(value);
  }
  void Beep() override { ++beeps; }

  std::vector<QString> texts;
  std::vector<bool> toUpdate;
  std::vector<int> progress;
  int beeps = 0;
  std::function<void(int)> onProgress;
};

// A port whose faults a test chooses; counts what was done to it.
class FakePort : public SerialPort {
 public:
  struct Counters {
    int opens = 0;
    int closes = 0;
    int writes = 0;
    bool open = false;
  };
  FakePort(std::shared_ptr<Counters> counters, int failOpen, int failWrite)
      : counters_(std::move(counters)), failOpen_(failOpen), failWrite_(failWrite) {}
  void Open() override {
    ++counters_->opens;
    if (failOpen_) throw PortError(failOpen_, "open");
    counters_->open = true;
  }
  void Close() override {
    ++counters_->closes;
    counters_->open = false;
  }
  void Purge() override {}
  void Write(std::span<const std::uint8_t>) override {
    ++counters_->writes;
    if (failWrite_) throw PortError(failWrite_, "write");
  }
  std::size_t Read(std::span<std::uint8_t>, int, const std::atomic<bool>&) override { return 0; }

 private:
  std::shared_ptr<Counters> counters_;
  int failOpen_;
  int failWrite_;
};

struct WorkerRun {
  bool completed = false;
  qint64 elapsedMs = 0;
};

// Starts the worker and runs the event loop until its completion handler has
// run (or a generous limit passes, so a hang fails instead of blocking).
inline WorkerRun RunWorker(TProtocol* worker, const std::function<void(TProtocol*)>& onStarted = {},
                           int limitMs = 30000) {
  WorkerRun run;
  QEventLoop loop;
  QElapsedTimer clock;
  worker->OnTerminate = [&](TProtocol&) {
    run.completed = true;
    run.elapsedMs = clock.elapsed();
    loop.quit();
  };
  QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
  clock.start();
  worker->Start();
  if (onStarted) onStarted(worker);
  loop.exec();
  return run;
}

inline std::vector<std::uint8_t> Bytes(const Frame& f) { return {f.begin(), f.end()}; }

}  // namespace rkvt::test

namespace rkvt::test {

// A modem on a pty and a way to run one worker command against it.
class WorkerOnPty {
 public:
  explicit WorkerOnPty(sim::ModemModel model = {}) : modem(std::move(model)) {}

  std::uint8_t RunCommand(std::uint8_t command, std::uint8_t subAddress, bool local, std::span<std::uint8_t> reply,
                   int softwareLevel = 0, std::span<const std::uint8_t> image = {},
                   const std::function<void(TProtocol*)>& onStarted = {}, LinkTimings timings = FastTimings()) {
    auto* worker = new TProtocol(command, subAddress, local, static_cast<std::uint16_t>(reply.size()),
                                 reply.data(),
                                 {PortOn(modem.PortPath()), timings, &host, softwareLevel, image});
    run = RunWorker(worker, onStarted, 120000);
    return reply[0];
  }

  // Frames the emulator received, once no more are on their way.
  std::vector<sim::JournalEntry> SettledJournal() {
    using namespace std::chrono_literals;
    std::size_t seen = modem.FrameCount();
    while (modem.WaitForFrames(seen + 1, 100ms)) seen = modem.FrameCount();
    return modem.Journal();
  }

  sim::ModemEmulator modem;
  RecordingHost host;
  WorkerRun run;
};

// Stops the worker the given time after its start.
inline std::function<void(TProtocol*)> StopAfter(int ms) {
  return [ms](TProtocol* worker) { QTimer::singleShot(ms, worker, [worker] { worker->Terminate(); }); };
}

}  // namespace rkvt::test
