// The production runner: real TProtocol workers on scripted ports.

#include <QElapsedTimer>
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "DecodeTestSupport.h"
#include "link/PortError.h"
#include "link/ProtocolHost.h"
#include "link/ProtocolRunner.h"
#include "mainwin/TFormMain.h"

namespace rkvt::test {
namespace {

// A port that fails to open with a given code, or opens and stays silent.
struct ScriptedPort : SerialPort {
  ScriptedPort(int failOpen, std::atomic<int>& alive) : failOpen(failOpen), alive(alive) { ++alive; }
  ~ScriptedPort() override { --alive; }
  void Open() override {
    if (failOpen != 0) throw PortError(failOpen, "open");
  }
  void Close() override {}
  void Purge() override {}
  void Write(std::span<const std::uint8_t>) override {}
  std::size_t Read(std::span<std::uint8_t>, int totalTimeoutMs, const std::atomic<bool>& stop) override {
    QElapsedTimer t;
    t.start();
    while (!stop.load() && t.elapsed() < totalTimeoutMs) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return 0;
  }
  int failOpen;
  std::atomic<int>& alive;
};

struct RecordingHost : ProtocolHost {
  void ShowStatusText(const QString& text) override { texts.push_back(text); }
  void ShowProgress(int) override {}
  void Beep() override { ++beeps; }
  std::vector<QString> texts;
  int beeps = 0;
};

constexpr LinkTimings kFast{.acknowledgementMs = 50, .answerMs = 200, .attempts = 1};
// Only against a hang: every wait below ends on its event.
constexpr int kHangGuardMs = 600000;

class Runner : public testing::Test {
 protected:
  ProtocolRunner::PortMaker Maker(int failOpen) {
    return [this, failOpen](const PortSettings& s) {
      builtFor_ = s.name;  // on the worker thread; read after the completion
      return std::make_unique<ScriptedPort>(failOpen, alive_);
    };
  }
  std::unique_ptr<RunningCommand> Start(ProtocolRunner& runner, std::uint8_t command, std::uint8_t subAddress) {
    return runner.Start({.command = command, .subAddress = subAddress, .block = block_, .softwareLevel = 7, .host = &host_},
                        [this] { completed_ = true; });
  }

  PortSettings settings_;
  std::atomic<int> alive_{0};
  QString builtFor_;
  RecordingHost host_;
  std::array<std::uint8_t, kExchangeBlockSize> block_{};
  bool completed_ = false;
};

TEST_F(Runner, PortThatCannotOpenResult17TextBeepAndSettingsTakenAtStart) {
  settings_.name = QStringLiteral("ttyFirst");
  ProtocolRunner runner(settings_, kFast, Maker(PortError::kOpen));
  auto handle = Start(runner, 25, 2);
  settings_.name = QStringLiteral("ttyLater");
  ASSERT_TRUE(QTest::qWaitFor([&] { return completed_; }, kHangGuardMs));
  EXPECT_EQ(std::tuple(+block_[0], host_.texts, host_.beeps, builtFor_),
            std::tuple(17, std::vector<QString>{" Can't open COM-port!"}, 1, QString("ttyFirst")));
}

TEST_F(Runner, HandleDroppedBeforeTheEndNoCompletionAndTheWorkerStops) {
  // Reads that would wait for ever: only the stop request can end this one.
  ProtocolRunner runner(settings_, {.acknowledgementMs = kHangGuardMs, .answerMs = kHangGuardMs, .attempts = 3},
                        Maker(0));
  auto handle = Start(runner, 25, 2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return alive_.load() == 1; }, kHangGuardMs));
  handle.reset();
  ASSERT_TRUE(QTest::qWaitFor([&] { return alive_.load() == 0; }, kHangGuardMs));
  QTest::qWait(50);
  EXPECT_FALSE(completed_);
}

}  // namespace
}  // namespace rkvt::test
