#pragma once

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "DecodeTestSupport.h"
#include "FakeRunner.h"
#include "ui/ManualClock.h"
#include "mainwin/TFormMain.h"
#include "support/TIni.h"

namespace rkvt::test {

struct ScriptedPortDialog : ui::PortDialog {
  bool Edit(PortSettings& settings) override {
    ++shown;
    if (newName) settings.name = *newName;
    return newName.has_value();
  }
  std::optional<QString> newName;
  int shown = 0;
};

inline constexpr int kStatMs = 5000;
inline constexpr int kLoopMs = 2000;
// Identification reply of a supported first-generation modem, 2.25: level 7.
inline constexpr Bytes kId225{{2, 1}, {3, 0x22}, {4, '5'}};

class FormMain : public testing::Test {
 protected:
  FormMain() {
    form_.EventLog.add = [this](const QString& text) { log_.push_back(text); };
    form_.EventLog.reopen = [this](const QString& port) { log_.push_back("<reopen " + port + ">"); };
    form_.EventLog.setMonitoring = [this](bool on) { monitoring_ = on; };
    form_.EventLog.monitor = [this](std::span<const std::uint8_t> s) { monitored_.emplace_back(s.begin(), s.end()); };
  }

  TFormMain& F() { return form_; }

  // The pause before an identification starts or a completion is dispatched.
  void Settle() { clock_.Advance(TFormMain::kPauseMs); }
  // The running command ends; its completion is dispatched after the pause.
  void Complete(std::uint8_t result, Bytes reply = {}) { runner_.Complete(result, reply), Settle(); }
  void PressState() { F().ButtonState.Click(), Settle(); }

  // State -> identify answered in working mode -> the one statistics read.
  void IdentifyAndRead(Bytes reply = kId225) {
    PressState();
    Complete(2, reply);
    ASSERT_EQ(runner_.LastCommand(), 25);
    ASSERT_EQ(F().ButtonStatistics.Caption(), QString("Stop"));
    Complete(25);
  }

  // A loop test past its first reply, polling with nothing running.
  void ConnectedLoop(Bytes reply = kId225) {
    IdentifyAndRead(reply);
    F().ButtonTest.Click();
    Complete(40);
    Complete(50);
    ASSERT_EQ(F().ButtonTest.Caption(), QString("Disconnect"));
  }

  QString Message() { return F().StaticTextMessages.Text(); }
  ui::Color MessageColor() { return F().StaticTextMessages.FontColor(); }

  QTemporaryDir dir_;
  ui::ManualClock clock_;
  TIni ini_{dir_.path()};
  TInvisible invisible_{clock_, ini_};
  FakeRunner runner_;
  CountingBeeper beeper_;
  ScriptedPortDialog dialog_;
  std::vector<QString> log_;
  std::optional<bool> monitoring_;
  std::vector<std::vector<std::uint8_t>> monitored_;
  TFormMain form_{invisible_, clock_, TFormMain::Intervals{kStatMs, kLoopMs}, runner_, beeper_, dialog_};
};

// The enabled command buttons, one column each, its letter when enabled and
// '.' when not: r radios (both alike), S State, U Setup, R Reset, O Soft,
// P Port, A Statistics (stArt), C Test (Connect); with all 11 columns then
// c ClearStatistics, t ClearTest and x the test selector. "rS...P.." is the
// Unidentified set.
inline std::string CommandButtons(TFormMain& f, std::size_t columns = 8) {
  EXPECT_EQ(f.RadioButtonLocal.Enabled(), f.RadioButtonRemote.Enabled());
  const ui::Control* controls[] = {&f.RadioButtonLocal, &f.ButtonState, &f.ButtonSetup, &f.ButtonReset,
                                   &f.ButtonSoftware, &f.ButtonPort, &f.ButtonStatistics, &f.ButtonTest,
                                   &f.ButtonClearStatistics, &f.ButtonClearTest, &f.ComboBoxTest};
  std::string s;
  for (std::size_t i = 0; i < columns; ++i) s += controls[i]->Enabled() ? "rSUROPACctx"[i] : '.';
  return s;
}

}  // namespace rkvt::test
