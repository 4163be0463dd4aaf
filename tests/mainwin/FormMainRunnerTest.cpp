// The production runner: real TProtocol workers on scripted ports.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <thread>

#include "FormMainHarness.h"
#include "PortError.h"
#include "ProtocolRunner.h"

namespace rkvt::test {
namespace {

// A port that fails to open with a given code, or opens and stays silent.
class ScriptedPort : public SerialPort {
 public:
  ScriptedPort(int failOpen, std::atomic<int>& alive) : failOpen_(failOpen), alive_(alive) { ++alive_; }
  ~ScriptedPort() override { --alive_; }
  void Open() override {
    if (failOpen_ != 0) throw PortError(failOpen_, "open");
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

 private:
  int failOpen_;
  std::atomic<int>& alive_;
};

class RecordingHost : public ProtocolHost {
 public:
  void ShowStatusText(const QString& text, bool) override { texts.push_back(text); }
  void ShowProgress(int) override {}
  void Beep() override { ++beeps; }
  std::vector<QString> texts;
  int beeps = 0;
};

// Runs the event loop until the condition holds (or a generous limit passes).
bool RunUntil(const std::function<bool()>& done, int limitMs = 10000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < limitMs) {
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return done();
}

constexpr LinkTimings kFast{.acknowledgementMs = 50, .answerMs = 200, .attempts = 1};

class Runner : public testing::Test {
 protected:
  ProtocolRunner::PortMaker Maker(int failOpen) {
    return [this, failOpen](const PortSettings& s) {
      builtFor_ = s.name;  // on the worker thread; read after the completion
      return std::make_unique<ScriptedPort>(failOpen, alive_);
    };
  }

  PortSettings settings_;
  std::atomic<int> alive_{0};
  QString builtFor_;
  RecordingHost host_;
  std::array<std::uint8_t, kExchangeBlockSize> block_{};
};

TEST_F(Runner, PortThatCannotOpen_Result17_TextBeepAndSettingsTakenAtStart) {
  settings_.name = QStringLiteral("ttyFirst");
  ProtocolRunner runner(settings_, kFast, Maker(PortError::kOpen));
  runner.SetHost(&host_);
  bool completed = false;
  auto handle = runner.Start(25, 2, true, std::span(block_), 7, [&] { completed = true; });
  settings_.name = QStringLiteral("ttyLater");
  ASSERT_TRUE(RunUntil([&] { return completed; }));
  EXPECT_EQ(block_[0], 17);
  EXPECT_EQ(host_.texts, std::vector<QString>{" Can't open COM-port!"});
  EXPECT_EQ(host_.beeps, 1);
  EXPECT_EQ(builtFor_, QString("ttyFirst"));
}

TEST_F(Runner, Terminate_StopsASilentIdentify) {
  ProtocolRunner runner(settings_, kFast, Maker(0));
  runner.SetHost(&host_);
  bool completed = false;
  auto handle = runner.Start(2, 1, false, std::span(block_), 0, [&] { completed = true; });
  handle->Terminate();
  ASSERT_TRUE(RunUntil([&] { return completed; }));
  EXPECT_EQ(block_[0], 4);
}

TEST_F(Runner, HandleDroppedBeforeTheEnd_NoCompletionAndTheWorkerStops) {
  ProtocolRunner runner(settings_, {.acknowledgementMs = 5000, .answerMs = 5000, .attempts = 3}, Maker(0));
  bool completed = false;
  auto handle = runner.Start(25, 2, true, std::span(block_), 7, [&] { completed = true; });
  ASSERT_TRUE(RunUntil([&] { return alive_.load() == 1; }));
  handle.reset();
  ASSERT_TRUE(RunUntil([&] { return alive_.load() == 0; }, 3000)) << "the stop request reaches the worker";
  RunUntil([] { return false; }, 50);
  EXPECT_FALSE(completed);
}

// The whole road through a real worker: a port error shown by the worker,
// then the window's own completion.
TEST(FormMainOnRunner, PortErrorOnState_WorkerTextStaysAndWindowUnidentified) {
  QTemporaryDir dir;
  ui::ManualClock clock;
  TIni ini(dir.path());
  TInvisible invisible(clock, ini);
  std::atomic<int> alive{0};
  ProtocolRunner runner(invisible.ComPort(), kFast,
                        [&](const PortSettings&) { return std::make_unique<ScriptedPort>(PortError::kRead, alive); });
  CountingBeeper beeper;
  ScriptedPortDialog dialog;
  TFormMain form(invisible, clock, {}, runner, beeper, dialog);
  runner.SetHost(&form.WorkerHost());

  form.ButtonState.Click();
  ASSERT_TRUE(form.CommandRunning());
  ASSERT_TRUE(RunUntil([&] { return !form.CommandRunning(); }));
  EXPECT_EQ(form.StaticTextMessages.Text(), QString(" Can't read COM-port!"));
  EXPECT_EQ(form.StaticTextMessages.FontColor(), kRed);
  EXPECT_EQ(beeper.beeps, 2) << "the worker's beep and the completion's";
  EXPECT_EQ(CommandButtons(form), "11000100");
  EXPECT_EQ(form.ReplySnapshot()[0], 17);
}

}  // namespace
}  // namespace rkvt::test
