// The start/stop toggles, statistics polling and loop tests.

#include "FormMainHarness.h"

namespace rkvt::test {
namespace {

// --- Toggles: Stop while the command runs ------------------------------------------

struct ToggleCase {
  const char* name;
  ui::Button MainWindowControls::*button;
  bool needsIdentified;
  int command;
  int subAddress;
  const char* startMessage;
  const char* captionAfterStop;  // right after Stop, before the stopped result
};

void PrintTo(const ToggleCase& c, std::ostream* os) { *os << c.name; }

class ToggleStop : public FormMainTest, public testing::WithParamInterface<ToggleCase> {};

TEST_P(ToggleStop, StopWhileRunning_OnlyAsksTheCommandToStop) {
  const ToggleCase& c = GetParam();
  if (c.needsIdentified) IdentifyAndRead();
  ui::Button& button = F().*c.button;
  button.Click();
  ASSERT_EQ(runner_.LastCommand(), c.command);
  EXPECT_EQ(runner_.starts.back().subAddress, c.subAddress);
  EXPECT_EQ(Message(), QString(c.startMessage));
  EXPECT_EQ(button.Caption(), QString("Stop"));
  EXPECT_TRUE(button.Enabled());
  const std::size_t starts = runner_.starts.size();

  button.Click();
  EXPECT_EQ(runner_.terminates, 1);
  EXPECT_EQ(runner_.starts.size(), starts);
  EXPECT_EQ(button.Caption(), QString(c.captionAfterStop));
  EXPECT_EQ(Message(), QString(c.startMessage));
  // Pressed again before the stopped result: still no second command.
  button.Click();
  EXPECT_EQ(runner_.starts.size(), starts);
  EXPECT_EQ(runner_.terminates, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Toggles, ToggleStop,
    testing::Values(ToggleCase{"State", &MainWindowControls::ButtonState, false, 2, 1, " Check modem state ...", "Stop"},
                    ToggleCase{"Setup", &MainWindowControls::ButtonSetup, true, 18, 2, " Enter modem setup ...", "Stop"},
                    ToggleCase{"Reset", &MainWindowControls::ButtonReset, true, 11, 1, " Reset modem ...", "Reset"},
                    ToggleCase{"Statistics", &MainWindowControls::ButtonStatistics, true, 25, 2,
                               " Get statistics ...", "Start"},
                    ToggleCase{"Test", &MainWindowControls::ButtonTest, true, 40, 2, " Connecting ...", "Stop"}));

// --- Toggles: Stop with nothing running ----------------------------------------------

TEST_F(FormMainTest, StateStop_NothingRunning_RestoresCaptionOnly) {
  F().ButtonState.Click();
  runner_.Complete(17);  // port error: the caption is not restored
  ASSERT_EQ(F().ButtonState.Caption(), QString("Stop"));
  F().ButtonState.Click();
  EXPECT_EQ(F().ButtonState.Caption(), QString("State"));
  EXPECT_EQ(runner_.starts.size(), 1u);
  EXPECT_EQ(runner_.terminates, 0);
}

TEST_F(FormMainTest, SetupStop_NothingRunning_RestoresCaptionOnly) {
  IdentifyAndRead();
  F().ButtonSetup.Click();
  runner_.Complete(17);
  IdentifyAndRead();
  ASSERT_EQ(F().ButtonSetup.Caption(), QString("Stop"));
  const std::size_t starts = runner_.starts.size();
  F().ButtonSetup.Click();
  EXPECT_EQ(F().ButtonSetup.Caption(), QString("Setup"));
  EXPECT_EQ(runner_.starts.size(), starts);
}

TEST_F(FormMainTest, ResetStop_NothingRunning_StoppedMessageAndResetIdle) {
  IdentifyAndRead();
  F().ButtonReset.Click();
  runner_.Complete(17);
  IdentifyAndRead();
  ASSERT_EQ(F().ButtonReset.Caption(), QString("Stop"));
  const std::size_t starts = runner_.starts.size();
  F().ButtonReset.Click();
  EXPECT_EQ(Message(), QString(" Reset modem stopped."));
  EXPECT_EQ(F().ButtonReset.Caption(), QString("Reset"));
  EXPECT_EQ(CommandButtons(F()), "11111111");
  EXPECT_EQ(runner_.starts.size(), starts);
}

TEST_F(FormMainTest, StatisticsStop_BetweenPolls_StoppedAtOnceAndTimerOff) {
  IdentifyAndRead();
  F().ButtonStatistics.Click();
  EXPECT_EQ(monitoring_, true);
  runner_.Complete(25);
  ASSERT_TRUE(invisible_.TimerStatistics.Enabled());
  F().ButtonStatistics.Click();
  EXPECT_EQ(Message(), QString(" Get statistics stopped."));
  EXPECT_EQ(F().ButtonStatistics.Caption(), QString("Start"));
  EXPECT_FALSE(invisible_.TimerStatistics.Enabled());
  EXPECT_EQ(monitoring_, false);
  EXPECT_EQ(CommandButtons(F()), "11111111");
  EXPECT_FALSE(F().ButtonClearStatistics.Enabled());
  const std::size_t starts = runner_.starts.size();
  clock_.Advance(10 * kStatMs);
  EXPECT_EQ(runner_.starts.size(), starts);
}


// --- Statistics polling ----------------------------------------------------------------

TEST_F(FormMainTest, Polling_EveryStatInterval_ClearMakesNextPollA28ThenBackTo25) {
  IdentifyAndRead();
  F().ButtonStatistics.Click();
  runner_.Complete(25);
  std::size_t starts = runner_.starts.size();

  clock_.Advance(kStatMs - 1);
  EXPECT_EQ(runner_.starts.size(), starts);
  clock_.Advance(1);
  ASSERT_EQ(runner_.starts.size(), ++starts);
  EXPECT_EQ(runner_.LastCommand(), 25);
  EXPECT_EQ(runner_.starts.back().subAddress, 2);
  EXPECT_EQ(Message(), QString(" Get statistics ..."));
  EXPECT_TRUE(invisible_.TimerProgress.Enabled());
  runner_.Complete(25);
  EXPECT_EQ(Message(), QString(" Get statistics OK."));

  F().ButtonClearStatistics.Click();
  EXPECT_EQ(runner_.starts.size(), starts) << "Clear only records the request";
  clock_.Advance(kStatMs);
  ASSERT_EQ(runner_.starts.size(), ++starts);
  EXPECT_EQ(runner_.LastCommand(), 28);
  EXPECT_EQ(Message(), QString(" Reset statistics ..."));
  runner_.Complete(28);
  EXPECT_EQ(Message(), QString(" Reset statistics OK."));
  clock_.Advance(kStatMs);
  ASSERT_EQ(runner_.starts.size(), ++starts);
  EXPECT_EQ(runner_.LastCommand(), 25);
}

TEST_F(FormMainTest, Polling_ReadErrorKeepsTheCycleGoing) {
  IdentifyAndRead();
  F().ButtonStatistics.Click();
  runner_.Complete(26);
  EXPECT_EQ(Message(), QString(" Get statistics error!"));
  EXPECT_EQ(beeper_.beeps, 0);
  clock_.Advance(kStatMs);
  EXPECT_EQ(runner_.LastCommand(), 25);
  EXPECT_TRUE(runner_.Running());
}

TEST_F(FormMainTest, OneShotRead_ErrorEndsInIdentifiedReadyWithoutPolling) {
  F().ButtonState.Click();
  runner_.Complete(2, {{2, kType1}, {3, kVersion22}, {4, kDigit5}});
  runner_.Complete(26);
  EXPECT_EQ(Message(), QString(" Get statistics error!"));
  EXPECT_EQ(CommandButtons(F()), "11111111");
  EXPECT_EQ(F().ButtonStatistics.Caption(), QString("Start"));
  EXPECT_FALSE(invisible_.TimerStatistics.Enabled());
  clock_.Advance(10 * kStatMs);
  EXPECT_EQ(runner_.starts.size(), 2u);
}

// --- Loop tests ------------------------------------------------------------------------------

struct LoopCase {
  bool local;
  int item;
  bool secondGeneration;
  std::uint8_t testCode;
  std::uint8_t pageCode;
};

void PrintTo(const LoopCase& c, std::ostream* os) {
  *os << (c.local ? "local" : "remote") << " item " << c.item << (c.secondGeneration ? " level 7" : " level 5");
}

class LoopRequests : public FormMainTest, public testing::WithParamInterface<LoopCase> {};

TEST_P(LoopRequests, ConnectReadTickDisconnect_RequestBytes) {
  const LoopCase& c = GetParam();
  if (!c.local) F().RadioButtonRemote.Click();
  IdentifyAndRead(kType1, c.secondGeneration ? kVersion22 : 0x21, c.secondGeneration ? kDigit5 : '0');
  ASSERT_EQ(F().SoftwareLevel(), c.secondGeneration ? 7 : 5);
  F().ComboBoxTest.Choose(c.item);

  F().ButtonTest.Click();
  EXPECT_EQ(monitoring_, true);
  EXPECT_EQ(Message(), QString(" Connecting ..."));
  const auto expect = [&](int command, std::uint8_t byte2) {
    const auto& s = runner_.starts.back();
    EXPECT_EQ(s.command, command);
    EXPECT_EQ(s.subAddress, 2);
    EXPECT_EQ(s.local, c.local);
    EXPECT_EQ(s.byte1, 0);
    EXPECT_EQ(s.byte2, byte2) << "command " << command;
  };
  expect(40, c.testCode);
  runner_.Complete(40);
  expect(50, c.pageCode);
  runner_.Complete(50);
  EXPECT_EQ(F().ButtonTest.Caption(), QString("Disconnect"));
  clock_.Advance(kLoopMs);
  expect(50, c.pageCode);
  EXPECT_EQ(Message(), QString(" Get loop statistics ..."));
  runner_.Complete(50);

  F().ButtonTest.Click();
  EXPECT_EQ(monitoring_, false);
  expect(46, c.testCode);
  EXPECT_EQ(Message(), QString(" Disconnecting ..."));
  EXPECT_FALSE(invisible_.TimerLoopStatistics.Enabled());
  EXPECT_FALSE(invisible_.TimerLoopNoLine10s.Enabled());
  EXPECT_FALSE(invisible_.TimerLoopNoLine20s.Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Tests, LoopRequests,
    testing::Values(LoopCase{true, 0, false, 1, 5}, LoopCase{true, 1, false, 4, 5}, LoopCase{true, 2, false, 6, 5},
                    LoopCase{true, 3, false, 2, 6}, LoopCase{true, 4, false, 7, 6}, LoopCase{true, 5, false, 8, 4},
                    LoopCase{true, 6, false, 10, 6}, LoopCase{true, 0, true, 1, 9}, LoopCase{true, 1, true, 4, 9},
                    LoopCase{true, 2, true, 6, 9}, LoopCase{true, 3, true, 2, 7}, LoopCase{true, 4, true, 7, 7},
                    LoopCase{true, 5, true, 8, 8}, LoopCase{true, 6, true, 10, 7}, LoopCase{false, 0, false, 1, 5},
                    LoopCase{false, 1, false, 2, 6}, LoopCase{false, 1, true, 2, 7}, LoopCase{false, 2, false, 8, 4},
                    LoopCase{false, 3, true, 10, 7}));

TEST_F(FormMainTest, Loop_SilentRead_NoLineAfter10s_DisconnectAfter20sSendsNothing) {
  ConnectedLoop();
  clock_.Advance(kLoopMs);
  ASSERT_EQ(runner_.LastCommand(), 50);
  const std::size_t starts = runner_.starts.size();

  clock_.Advance(TFormMain::kNoLineWarningMs - 1);
  EXPECT_NE(F().StaticTextState.Text(), QString(" No Line"));
  clock_.Advance(1);
  EXPECT_EQ(F().StaticTextState.Text(), QString(" No Line"));
  EXPECT_EQ(F().StaticTextState.FontColor(), kRed);
  EXPECT_FALSE(invisible_.TimerLoopNoLine10s.Enabled());
  clock_.Advance(TFormMain::kNoLineGiveUpMs - TFormMain::kNoLineWarningMs);
  EXPECT_FALSE(invisible_.TimerLoopNoLine20s.Enabled());

  // The read ends with its own time-out; polling would go on.
  runner_.Complete(51);
  ASSERT_TRUE(invisible_.TimerLoopStatistics.Enabled());
  F().ButtonTest.Click();
  EXPECT_EQ(runner_.starts.size(), starts);
  EXPECT_EQ(F().ButtonTest.Caption(), QString("Connect"));
  EXPECT_EQ(CommandButtons(F()), "11111111");
  EXPECT_FALSE(invisible_.TimerLoopStatistics.Enabled());
  clock_.Advance(60000);
  EXPECT_EQ(runner_.starts.size(), starts);
}

TEST_F(FormMainTest, Loop_DisconnectRightAfterTheFirstReply_StillSendsTheRequest) {
  ConnectedLoop();
  F().ButtonTest.Click();
  EXPECT_EQ(runner_.LastCommand(), 46);
}

TEST_F(FormMainTest, Loop_StopWhileConnecting_DisconnectsWithTheSameTestCode) {
  IdentifyAndRead();
  F().ComboBoxTest.Choose(5);  // DL
  F().ButtonTest.Click();
  F().ButtonTest.Click();
  EXPECT_EQ(runner_.terminates, 1);
  runner_.Complete(41);
  EXPECT_EQ(runner_.LastCommand(), 46);
  EXPECT_EQ(runner_.starts.back().byte2, 8);
  EXPECT_EQ(F().ButtonTest.Caption(), QString("Stop"));
  runner_.Complete(46);
  EXPECT_EQ(F().ButtonTest.Caption(), QString("Connect"));
  EXPECT_EQ(CommandButtons(F()), "11111111");
}

TEST_F(FormMainTest, Loop_StopDuringALaterRead_EndsInDisconnect) {
  ConnectedLoop();
  clock_.Advance(kLoopMs);
  F().ButtonTest.Click();
  EXPECT_EQ(runner_.terminates, 1);
  EXPECT_FALSE(invisible_.TimerLoopNoLine20s.Enabled());
  runner_.Complete(52);
  EXPECT_EQ(runner_.LastCommand(), 46);
  EXPECT_EQ(runner_.starts.back().byte2, 1);
  EXPECT_EQ(Message(), QString(" Disconnecting ..."));
}

TEST_F(FormMainTest, Loop_ClearMakesNextTickA53ThenBackTo50) {
  ConnectedLoop();
  F().ButtonClearTest.Click();
  clock_.Advance(kLoopMs);
  EXPECT_EQ(runner_.LastCommand(), 53);
  EXPECT_EQ(Message(), QString(" Reset loop statistics ..."));
  runner_.Complete(53);
  clock_.Advance(kLoopMs);
  EXPECT_EQ(runner_.LastCommand(), 50);
}

TEST_F(FormMainTest, Loop_PortErrorDuringARead_NoLateNoLine) {
  ConnectedLoop();
  clock_.Advance(kLoopMs);
  runner_.Complete(17);
  clock_.Advance(60000);
  EXPECT_EQ(F().StaticTextState.Text(), QString());
  EXPECT_EQ(monitoring_, false);
}

TEST_F(FormMainTest, Loop_FailedConnect_EndsMonitoring) {
  IdentifyAndRead();
  F().ButtonTest.Click();
  EXPECT_EQ(monitoring_, true);
  runner_.Complete(42);
  EXPECT_EQ(monitoring_, false);
}

}  // namespace
}  // namespace rkvt::test
