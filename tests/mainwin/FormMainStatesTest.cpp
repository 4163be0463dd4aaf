// Start state, the 32 UI states, target change and the calls of other windows.

#include <algorithm>

#include "FormMainHarness.h"

namespace rkvt::test {
namespace {

TEST_F(FormMain, StartOnlyStatePortAndRadiosEnabledLocalSelectedLogOnCreateAndDestroy) {
  EXPECT_EQ(CommandButtons(F(), 11), "rS...P.....");
  EXPECT_TRUE(F().RadioButtonLocal.Checked() && !F().RadioButtonRemote.Checked());  // the local tests: see TargetChange
  EXPECT_EQ(F().Caption(), "R-KVT-MS_v2.48 " + invisible_.ComPort().name);
  EXPECT_FALSE(invisible_.TimerProgress.Enabled() || invisible_.TimerStatistics.Enabled());
  F().FormCreate();
  F().FormDestroy();
  EXPECT_EQ(log_, (std::vector<QString>{"R-KVT-MS_v2.48 started.", "R-KVT-MS_v2.48 stopped."}));
}

// --- UI states: what the table must guarantee -----------------------------------

using S = UiState;
using T = TFormMain::Toggle;

// The states a command runs in, and the toggle whose Stop ends it.
const std::pair<UiState, T> kRunning[] = {
    {S::IdentifyRunning, T::State},       {S::ResetRunning, T::Reset},          {S::StatisticsRunning, T::Statistics},
    {S::StatisticsAfterIdentify, T::Statistics}, {S::SetupEntering, T::Setup}, {S::LoopConnecting, T::Test},
    {S::LoopDisconnecting, T::Test}};

class UiStates : public FormMain, public testing::WithParamInterface<int> {};

// From every button on and from every button off, for both targets: a running
// command keeps its Stop button and the bar; a locked port locks every other
// command; no state offers the remote modem Reset or Soft.
TEST_P(UiStates, StopStaysLockedPortLocksAllRemoteNeverResets) {
  const auto state = static_cast<UiState>(GetParam());
  const auto* running = std::find_if(std::begin(kRunning), std::end(kRunning),
                                     [&](const auto& r) { return r.first == state; });
  ui::Button* stop = nullptr;
  if (running != std::end(kRunning)) {
    ui::Button* own[] = {&F().ButtonState, &F().ButtonSetup, &F().ButtonReset, &F().ButtonStatistics, &F().ButtonTest};
    stop = own[static_cast<int>(running->second)];
  }
  ui::Control* const kCommands[] = {&F().RadioButtonLocal, &F().RadioButtonRemote, &F().ButtonState,
                                    &F().ButtonSetup,       &F().ButtonReset,       &F().ButtonSoftware,
                                    &F().ButtonPort,        &F().ButtonStatistics,  &F().ButtonTest};
  for (bool local : {true, false}) {
    local ? F().RadioButtonLocalClick() : F().RadioButtonRemoteClick();
    for (bool baseline : {true, false}) {
      SCOPED_TRACE(testing::Message() << (local ? "local" : "remote") << ", all " << (baseline ? "on" : "off"));
      for (ui::Control* k : kCommands) k->SetEnabled(baseline);
      // With the remote target neither is ever on before.
      if (!local) F().ButtonReset.SetEnabled(false), F().ButtonSoftware.SetEnabled(false);
      F().SetUiState(state);
      if (stop != nullptr && baseline) {
        EXPECT_TRUE(stop->Enabled() || (stop == &F().ButtonReset && !local)) << stop->Name().toStdString();
        EXPECT_TRUE(invisible_.TimerProgress.Enabled());
      }
      if (!F().ButtonPort.Enabled()) {
        for (ui::Control* k : kCommands) EXPECT_TRUE(!k->Enabled() || k == stop) << k->Name().toStdString();
      }
      if (!local) {
        EXPECT_FALSE(F().ButtonReset.Enabled() || F().ButtonSoftware.Enabled());
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(All32, UiStates, testing::Range(0, kUiStateCount));

// --- Target change and test choice ----------------------------------------------------

TEST_F(FormMain, TargetChangeEmptiesEveryDisplayAndLeavesStatePortRadios) {
  for (bool toRemote : {true, false}) {
    IdentifyAndRead();
    F().ButtonStatistics.Click();
    Complete(25);
    F().SetUiState(S::StatisticsIdle);
    F().ComboBoxTest.Choose(F().ComboBoxTest.Items().indexOf("DL"));  // the bit counter, and the choice enabled
    EXPECT_TRUE(F().StaticTextBits.Visible() && !F().StaticTextRdTime.Visible());
    EXPECT_TRUE(F().ComboBoxTest.Enabled() && F().LabelTest.Enabled() && !F().ButtonClearTest.Enabled());
    F().StaticTextRdTime.SetText("x");
    ASSERT_EQ(F().StaticTextModem.Text(), QString("Vorak R-KVT-MS"));

    (toRemote ? F().RadioButtonRemote : F().RadioButtonLocal).Click();

    EXPECT_EQ(CommandButtons(F(), 11), "rS...P.....");
    EXPECT_EQ(Message(), QString());
    EXPECT_EQ(QStringList({F().StaticTextModem.Text(), F().StaticTextVersion.Text(), F().StaticTextState.Text(),
                           F().StaticTextInterface.Text(), F().StaticTextFillTime.Text(), F().StaticTextFaults.Text(),
                           F().StaticTextRdTime.Text()}).join(""), QString());
    EXPECT_FALSE(F().GroupBoxP2Nets.Visible() || F().GroupBoxEthernet.Visible() || F().GroupBoxE1.Visible());
    EXPECT_EQ(std::pair(F().TargetWord(), F().TargetLocal()),
              std::pair(QString(toRemote ? "remote " : "local "), !toRemote));
    EXPECT_EQ(F().ComboBoxTest.Items(), toRemote ? QStringList({"RDL-ES", "RDL", "DL", "LL"})
                                                 : QStringList({"RDL-ES", "AL-ES", "ES", "RDL", "AL", "DL", "LL"}));
    EXPECT_EQ(F().ComboBoxTest.ItemIndex(), 0);
    EXPECT_TRUE(F().StaticTextRdTime.Visible() && !F().StaticTextBits.Visible());  // the ES tests' counters
  }
}

// --- Other windows --------------------------------------------------------------------

TEST_F(FormMain, SoftOpensUpdateWindowTransferLocksAndReleases) {
  IdentifyAndRead();
  int shown = 0;
  F().Windows.showUpdate = [&] { ++shown; };
  F().ButtonSoftware.Click();
  EXPECT_EQ(std::pair(shown, Message()), std::pair(1, QString()));
  std::string sets = CommandButtons(F());
  F().FirmwareTransferRunning(true);
  sets += " " + CommandButtons(F());
  F().FirmwareTransferRunning(false);
  sets += " " + CommandButtons(F());
  F().UpdateWindowClosed();
  EXPECT_EQ(sets + " " + CommandButtons(F()), "...R.P.. ........ ...R.P.. rSUROPAC");
}

TEST_F(FormMain, PortChangedNameLogsStopReopenStartAndRenamesCaption) {
  QString caption;
  F().OnCaptionChanged = [&](const QString& c) { caption = c; };
  dialog_.newName = QStringLiteral("ttyUSB7");
  F().ButtonPort.Click();
  EXPECT_EQ(log_, (std::vector<QString>{"R-KVT-MS_v2.48 stopped.", "<reopen ttyUSB7>", "R-KVT-MS_v2.48 started."}));
  EXPECT_EQ(QStringList({caption, F().Caption(), F().PortName()}),
            QStringList({"R-KVT-MS_v2.48 ttyUSB7", "R-KVT-MS_v2.48 ttyUSB7", "ttyUSB7"}));
  // Same name again, or cancelled: nothing happens.
  log_.clear();
  F().ButtonPort.Click();
  dialog_.newName.reset();
  F().ButtonPort.Click();
  EXPECT_EQ(std::pair(dialog_.shown, log_.size()), std::pair(3, std::size_t{0}));
}

TEST_F(FormMain, ProgressStepsEverySecondWorkerHostShowsTextAndBeeps) {
  F().ProgressOn();
  clock_.Advance(3000);
  EXPECT_EQ(F().AdvProgress.Position(), 3);
  F().ProgressOff();
  clock_.Advance(3000);
  EXPECT_EQ(std::pair(F().AdvProgress.Position(), invisible_.TimerProgress.Enabled()), std::pair(0, false));
  F().WorkerHost().ShowStatusText(" Can't open COM-port!");
  F().WorkerHost().Beep();
  EXPECT_EQ(std::pair(Message(), beeper_.beeps), std::pair(QString(" Can't open COM-port!"), 1));
}

}  // namespace
}  // namespace rkvt::test
