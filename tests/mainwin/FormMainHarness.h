#pragma once

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "DecodeTestSupport.h"
#include "ManualClock.h"
#include "TFormMain.h"
#include "TIni.h"

namespace rkvt::test {

// Records every start; the test ends the running command with a result
// code and reply bytes, as the worker would.
class FakeRunner : public CommandRunner {
 public:
  struct Started {
    std::uint8_t command;
    std::uint8_t subAddress;
    bool local;
    std::uint8_t byte1;  // request bytes as they were at the start
    std::uint8_t byte2;
    int softwareLevel;
  };

  std::unique_ptr<RunningCommand> Start(std::uint8_t command, std::uint8_t subAddress, bool local,
                                        ExchangeBlock block, int softwareLevel,
                                        std::function<void()> onCompleted) override {
    EXPECT_FALSE(pending_) << "command " << int(command) << " started while another runs";
    starts.push_back({command, subAddress, local, block[1], block[2], softwareLevel});
    block_ = block.data();
    pending_ = std::move(onCompleted);
    return std::make_unique<Handle>(*this);
  }

  bool Running() const { return static_cast<bool>(pending_); }
  std::uint8_t LastCommand() const { return starts.empty() ? 0 : starts.back().command; }

  void Complete(std::uint8_t result, std::initializer_list<std::pair<int, std::uint8_t>> reply = {}) {
    ASSERT_TRUE(pending_) << "no command to complete with " << int(result);
    for (const auto& [at, value] : reply) block_[at] = value;
    block_[0] = result;
    auto done = std::move(pending_);
    pending_ = nullptr;
    done();
  }

  std::vector<Started> starts;
  int terminates = 0;

 private:
  class Handle : public RunningCommand {
   public:
    explicit Handle(FakeRunner& runner) : runner_(runner) {}
    void Terminate() override { ++runner_.terminates; }

   private:
    FakeRunner& runner_;
  };

  std::uint8_t* block_ = nullptr;
  std::function<void()> pending_;
};

class CountingBeeper : public ui::Beeper {
 public:
  void Beep() override { ++beeps; }
  int beeps = 0;
};

class ScriptedPortDialog : public ui::PortDialog {
 public:
  bool Edit(PortSettings& settings) override {
    ++shown;
    if (!newName) return false;
    settings.name = *newName;
    return true;
  }
  std::optional<QString> newName;
  int shown = 0;
};

inline constexpr int kStatMs = 5000;
inline constexpr int kLoopMs = 2000;

// Identification bytes of a supported first-generation modem, 2.25: level 7.
inline constexpr std::uint8_t kType1 = 1;
inline constexpr std::uint8_t kVersion22 = 0x22;
inline constexpr std::uint8_t kDigit5 = '5';

class FormMainTest : public testing::Test {
 protected:
  FormMainTest() : ini_(dir_.path()), invisible_(clock_, ini_) {
    form_ = std::make_unique<TFormMain>(invisible_, clock_, TFormMain::Intervals{kStatMs, kLoopMs}, runner_, beeper_,
                                        dialog_);
    form_->EventLog.add = [this](const QString& text) { log_.push_back(text); };
    form_->EventLog.reopen = [this](const QString& port) { log_.push_back(QStringLiteral("<reopen ") + port + ">"); };
    form_->EventLog.setMonitoring = [this](bool on) { monitoring_ = on; };
    form_->EventLog.monitor = [this](std::span<const std::uint8_t> snapshot) {
      monitored_.emplace_back(snapshot.begin(), snapshot.end());
    };
  }

  TFormMain& F() { return *form_; }

  // State -> identify answered in working mode -> the one statistics read.
  void IdentifyAndRead(std::uint8_t type = kType1, std::uint8_t version = kVersion22, std::uint8_t third = kDigit5) {
    F().ButtonState.Click();
    runner_.Complete(2, {{2, type}, {3, version}, {4, third}});
    ASSERT_EQ(runner_.LastCommand(), 25);
    runner_.Complete(25);
  }

  // A loop test past its first reply, polling with nothing running.
  void ConnectedLoop() {
    IdentifyAndRead();
    F().ButtonTest.Click();
    runner_.Complete(40);
    runner_.Complete(50);
    ASSERT_EQ(F().ButtonTest.Caption(), QString("Disconnect"));
  }

  QString Message() { return F().StaticTextMessages.Text(); }
  ui::Color MessageColor() { return F().StaticTextMessages.FontColor(); }

  QTemporaryDir dir_;
  ui::ManualClock clock_;
  TIni ini_;
  TInvisible invisible_;
  FakeRunner runner_;
  CountingBeeper beeper_;
  ScriptedPortDialog dialog_;
  std::vector<QString> log_;
  std::optional<bool> monitoring_;
  std::vector<std::vector<std::uint8_t>> monitored_;
  std::unique_ptr<TFormMain> form_;
};

// Enabled flags of the command buttons as a string: radios (both), State,
// Setup, Reset, Soft, Port, Statistics, Test.
inline std::string CommandButtons(const TFormMain& f) {
  const bool radios = f.RadioButtonLocal.Enabled();
  EXPECT_EQ(radios, f.RadioButtonRemote.Enabled());
  std::string s;
  for (bool on : {radios, f.ButtonState.Enabled(), f.ButtonSetup.Enabled(), f.ButtonReset.Enabled(),
                  f.ButtonSoftware.Enabled(), f.ButtonPort.Enabled(), f.ButtonStatistics.Enabled(),
                  f.ButtonTest.Enabled()})
    s += on ? '1' : '0';
  return s;
}

}  // namespace rkvt::test
