// Start state, the 32 UI states, target change and the calls of other windows.

#include "FormMainHarness.h"

namespace rkvt::test {
namespace {

TEST_F(FormMainTest, Start_OnlyStatePortAndRadiosEnabled_LocalSelected) {
  EXPECT_EQ(CommandButtons(F()), "11000100");
  EXPECT_FALSE(F().ButtonClearStatistics.Enabled());
  EXPECT_FALSE(F().ButtonClearTest.Enabled());
  EXPECT_FALSE(F().ComboBoxTest.Enabled());
  EXPECT_TRUE(F().RadioButtonLocal.Checked());
  EXPECT_FALSE(F().RadioButtonRemote.Checked());
  EXPECT_EQ(F().ComboBoxTest.Items(), QStringList({"RDL-ES", "AL-ES", "ES", "RDL", "AL", "DL", "LL"}));
  EXPECT_EQ(F().ComboBoxTest.ItemIndex(), 0);
  EXPECT_EQ(F().TargetWord(), QString("local "));
  EXPECT_EQ(F().Caption(), QString("R-KVT-MS_v2.48 ") + invisible_.ComPort().name);
  const std::pair<const ui::Button*, const char*> captions[] = {
      {&F().ButtonState, "State"},      {&F().ButtonSetup, "Setup"},  {&F().ButtonReset, "Reset"},
      {&F().ButtonSoftware, "Soft"},    {&F().ButtonPort, "Port"},    {&F().ButtonStatistics, "Start"},
      {&F().ButtonClearStatistics, "Clear"}, {&F().ButtonTest, "Connect"}, {&F().ButtonClearTest, "Clear"}};
  for (const auto& [button, caption] : captions) EXPECT_EQ(button->Caption(), QString(caption));
  EXPECT_FALSE(invisible_.TimerProgress.Enabled());
  EXPECT_FALSE(invisible_.TimerStatistics.Enabled());
}

TEST_F(FormMainTest, FormCreateAndDestroy_LogStartedAndStopped) {
  F().FormCreate();
  F().FormDestroy();
  EXPECT_EQ(log_, (std::vector<QString>{"R-KVT-MS_v2.48 started.", "R-KVT-MS_v2.48 stopped."}));
}

// --- UI states ------------------------------------------------------------------

// Columns of `buttons`: radios, State, Setup, Reset, Soft, Port, Statistics,
// Test, ClearStatistics, ClearTest, ComboBoxTest. '1' on, '0' off, 'L' on
// only with the local target, '=' unchanged.
struct StateCase {
  UiState state;
  const char* buttons;
  char message;   // message colour: 'N' normal, 'R' red, '=' unchanged
  char progress;  // '1' on, '0' off, '=' unchanged
  const char* setupCaption;  // nullptr: unchanged
  const char* testCaption;
  char blank;     // 'A' every display emptied, 'S' all but type and version, '-' none
  char typeText;  // colour of type and version texts: 'N', 'R', '='
};

void PrintTo(const StateCase& c, std::ostream* os) { *os << "state " << static_cast<int>(c.state); }

using S = UiState;
const StateCase kStates[] = {
    {S::IdentifyRunning, "01000000000", 'N', '1', nullptr, nullptr, 'A', 'N'},
    {S::IdentifiedBasic, "11=LL1=====", '=', '0', nullptr, nullptr, '-', '='},
    {S::IdentifiedReady, "111LL111=01", '=', '0', nullptr, nullptr, '-', '='},
    {S::IdentifiedSpecial, "11=LL1=====", '=', '0', nullptr, nullptr, '-', 'R'},
    {S::UnknownModem, "11000100===", '=', '0', nullptr, nullptr, '-', 'R'},
    {S::UnsupportedVersion, "11000100===", 'R', '0', nullptr, nullptr, '-', 'R'},
    {S::IdentifyError, "11000100===", 'R', '0', nullptr, nullptr, '-', '='},
    {S::IdentifyStopped, "11000100===", '=', '0', nullptr, nullptr, '-', '='},
    {S::ResetRunning, "000L0000000", 'N', '1', nullptr, nullptr, '-', '='},
    {S::ResetDone, "11=LL1=====", '=', '0', nullptr, nullptr, '-', '='},
    {S::ResetIdle, "111LL111=01", '=', '0', nullptr, nullptr, '-', '='},
    {S::ResetError, "111LL111=01", 'R', '0', nullptr, nullptr, '-', '='},
    {S::UpdateWindowOpen, "000L0100=00", 'N', '=', nullptr, nullptr, '-', '='},
    {S::FirmwareTransferRunning, "00000000=00", 'N', '=', nullptr, nullptr, '-', '='},
    {S::UpdateWindowClosed, "111LL111=01", '=', '=', nullptr, nullptr, '-', '='},
    {S::StatisticsRunning, "00000010=00", 'N', '1', nullptr, nullptr, '-', '='},
    {S::StatisticsAfterIdentify, "00000010000", 'N', '1', nullptr, nullptr, 'S', '='},
    {S::StatisticsShown, "========1==", '=', '0', nullptr, nullptr, '-', '='},
    {S::StatisticsIdle, "111LL111001", '=', '0', nullptr, nullptr, '-', '='},
    {S::StatisticsError, "111LL111===", 'R', '0', nullptr, nullptr, '-', '='},
    {S::SetupEntering, "00100000=00", 'N', '1', "Stop", nullptr, '-', '='},
    {S::SetupOpen, "00000000===", 'N', '0', "Setup", nullptr, '-', '='},
    {S::SetupFailed, "111LL111=01", 'R', '0', "Setup", nullptr, '-', '='},
    {S::SetupClosed, "111LL111=01", '=', '0', "Setup", nullptr, '-', '='},
    {S::LoopConnecting, "00000001000", 'N', '1', nullptr, "Stop", 'S', '='},
    {S::LoopConnectFailed, "111LL111=01", 'R', '0', nullptr, "Connect", '-', '='},
    {S::LoopDisconnecting, "=========0=", 'N', '1', nullptr, "Stop", '-', '='},
    {S::LoopDisconnected, "111LL111=01", 'N', '0', nullptr, "Connect", '-', '='},
    {S::LoopDisconnectFailed, "111LL111=01", 'R', '0', nullptr, "Connect", '-', '='},
    {S::LoopActive, "=========1=", '=', '0', nullptr, "Disconnect", '-', '='},
    {S::LoopWarning, "===========", 'R', '0', nullptr, nullptr, '-', '='},
    {S::PortError, "11000100000", 'R', '0', nullptr, nullptr, 'A', '='},
};

class UiStates : public FormMainTest, public testing::WithParamInterface<StateCase> {
 protected:
  std::vector<ui::Control*> Columns() {
    return {&F().RadioButtonLocal, &F().ButtonState,      &F().ButtonSetup,           &F().ButtonReset,
            &F().ButtonSoftware,   &F().ButtonPort,       &F().ButtonStatistics,      &F().ButtonTest,
            &F().ButtonClearStatistics, &F().ButtonClearTest, &F().ComboBoxTest};
  }
  std::vector<ui::StaticText*> TypeTexts() { return {&F().StaticTextModem, &F().StaticTextVersion}; }
  std::vector<ui::StaticText*> StateTexts() {
    return {&F().StaticTextState,       &F().StaticTextInterface,  &F().StaticTextSpeed,
            &F().StaticTextCable,       &F().StaticTextQual,       &F().StaticTextBitRateLine,
            &F().StaticTextBitRatePx,   &F().StaticTextFillTime,   &F().StaticTextCurrTime,
            &F().StaticTextNoLineTime,  &F().StaticTextErrorsTime, &F().StaticTextFaults};
  }

  // Every control in one known condition, so "unchanged" can be seen.
  void Baseline(bool enabled) {
    for (ui::Control* c : Columns()) c->SetEnabled(enabled);
    F().RadioButtonRemote.SetEnabled(enabled);
    F().StaticTextMessages.SetText("keep");
    F().StaticTextMessages.SetFontColor(ui::Color::Rgb(0x123456));
    for (ui::StaticText* t : TypeTexts()) {
      t->SetText("x");
      t->SetFontColor(ui::Color::Rgb(0x123456));
    }
    for (ui::StaticText* t : StateTexts()) t->SetText("x");
    F().ButtonSetup.SetCaption("caption");
    F().ButtonTest.SetCaption("caption");
    invisible_.TimerProgress.Restart(1000);
    F().AdvProgress.SetPosition(5);
  }
};

TEST_P(UiStates, ButtonsColoursCaptionsProgressAndBlanking) {
  const StateCase& c = GetParam();
  for (bool local : {true, false}) {
    // The handler itself: the radios may be locked by the previous round.
    local ? F().RadioButtonLocalClick() : F().RadioButtonRemoteClick();
    for (bool baseline : {true, false}) {
      SCOPED_TRACE(testing::Message() << (local ? "local" : "remote") << ", baseline " << baseline);
      Baseline(baseline);
      F().SetUiState(c.state);

      const auto columns = Columns();
      for (std::size_t i = 0; i < columns.size(); ++i) {
        const char want = c.buttons[i];
        const bool expected = want == '=' ? baseline : want == 'L' ? local : want == '1';
        EXPECT_EQ(columns[i]->Enabled(), expected) << columns[i]->Name().toStdString();
      }
      EXPECT_EQ(F().RadioButtonRemote.Enabled(), F().RadioButtonLocal.Enabled());

      const ui::Color kept = ui::Color::Rgb(0x123456);
      const ui::Color message = c.message == 'N' ? kNormal : c.message == 'R' ? kRed : kept;
      EXPECT_EQ(MessageColor(), message);
      EXPECT_EQ(Message(), QString(c.state == S::UpdateWindowOpen ? "" : "keep"));

      const bool progressOn = c.progress == '1' || (c.progress == '=');
      EXPECT_EQ(invisible_.TimerProgress.Enabled(), progressOn);
      EXPECT_EQ(F().AdvProgress.Position(), c.progress == '=' ? 5 : 0);

      EXPECT_EQ(F().ButtonSetup.Caption(), QString(c.setupCaption ? c.setupCaption : "caption"));
      EXPECT_EQ(F().ButtonTest.Caption(), QString(c.testCaption ? c.testCaption : "caption"));

      for (ui::StaticText* t : TypeTexts()) {
        EXPECT_EQ(t->Text(), QString(c.blank == 'A' ? "" : "x")) << t->Name().toStdString();
        const ui::Color type = c.typeText == 'N' ? kNormal : c.typeText == 'R' ? kRed : kept;
        EXPECT_EQ(t->FontColor(), type) << t->Name().toStdString();
      }
      for (ui::StaticText* t : StateTexts()) EXPECT_EQ(t->Text(), QString(c.blank == '-' ? "x" : "")) << t->Name().toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(All32, UiStates, testing::ValuesIn(kStates));

TEST_F(FormMainTest, ResetRunning_ClosesTheUpdateWindow) {
  int closed = 0;
  F().Windows.closeUpdate = [&] { ++closed; };
  F().SetUiState(UiState::ResetRunning);
  EXPECT_EQ(closed, 1);
}

TEST_F(FormMainTest, TypeLabels_OnForIdentifiedStates_GreyAfterBlankAll) {
  for (UiState s : {S::IdentifiedBasic, S::IdentifiedReady, S::IdentifiedSpecial, S::UnknownModem,
                    S::UnsupportedVersion}) {
    F().SetUiState(S::IdentifyRunning);
    EXPECT_FALSE(F().LabelModem.Enabled());
    EXPECT_FALSE(F().LabelVersion.Enabled());
    F().SetUiState(s);
    EXPECT_TRUE(F().LabelModem.Enabled()) << static_cast<int>(s);
    EXPECT_TRUE(F().LabelVersion.Enabled()) << static_cast<int>(s);
  }
}

TEST_F(FormMainTest, StatisticsShown_EnablesStateLabelsAndClear) {
  F().SetUiState(S::IdentifyRunning);
  F().SetUiState(S::StatisticsShown);
  for (const ui::Label* l : {&F().LabelState, &F().LabelInterface, &F().LabelSpeed, &F().LabelCable, &F().LabelQual,
                             &F().LabelBitRateLine, &F().LabelBitRatePx, &F().LabelFillTime, &F().LabelCurrTime,
                             &F().LabelNoLineTime, &F().LabelErrorsTime, &F().LabelFaults})
    EXPECT_TRUE(l->Enabled()) << l->Name().toStdString();
  EXPECT_TRUE(F().ButtonClearStatistics.Enabled());
}

// --- LoopActive layout by test -----------------------------------------------------

struct LayoutCase {
  int item;                // local selector item = test index
  const char* labels;      // State, Qual, BitRateLine, BitRatePx, Interface, Cable
  bool clearTest;
  bool panelShown;         // the port 2 panel of interface code 1
};

class LoopActiveLayout : public FormMainTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(LoopActiveLayout, LabelsClearAndPanelsByTest) {
  const LayoutCase& c = GetParam();
  // Interface code 1 (P2 synchronous) from a first-generation state page.
  IdentifyAndRead(kType1, 0x21, '0');
  F().ComboBoxTest.Choose(c.item);
  F().ButtonTest.Click();
  runner_.Complete(40);
  runner_.Complete(50);
  ASSERT_EQ(F().InterfaceCode(), 1);
  const ui::Label* labels[] = {&F().LabelState,    &F().LabelQual,      &F().LabelBitRateLine,
                               &F().LabelBitRatePx, &F().LabelInterface, &F().LabelCable};
  for (std::size_t i = 0; i < std::size(labels); ++i)
    EXPECT_EQ(labels[i]->Enabled(), c.labels[i] == '1') << labels[i]->Name().toStdString();
  for (const ui::Label* l : {&F().LabelRdTime, &F().LabelNRdTime, &F().LabelESTime, &F().LabelSESTime, &F().LabelBits})
    EXPECT_TRUE(l->Enabled()) << l->Name().toStdString();
  EXPECT_EQ(F().ButtonClearTest.Enabled(), c.clearTest);
  EXPECT_EQ(F().GroupBoxP2Nets.Visible(), c.panelShown);
  // Cable and port rate fields follow the interface code for every test.
  EXPECT_TRUE(F().StaticTextCable.Visible());
  EXPECT_FALSE(F().StaticTextSpeed.Visible());
  EXPECT_EQ(F().ButtonTest.Caption(), QString("Disconnect"));
}

INSTANTIATE_TEST_SUITE_P(EveryTest, LoopActiveLayout,
                         testing::Values(LayoutCase{0, "111000", true, false}, LayoutCase{1, "111000", true, false},
                                         LayoutCase{2, "111000", true, false}, LayoutCase{3, "111111", false, true},
                                         LayoutCase{4, "111111", false, true}, LayoutCase{5, "111000", true, false},
                                         LayoutCase{6, "100011", false, true}));

// --- Target change -------------------------------------------------------------------

TEST_F(FormMainTest, TargetChange_EmptiesEveryDisplayAndLeavesStatePortRadios) {
  for (bool toRemote : {true, false}) {
    IdentifyAndRead();
    F().ButtonStatistics.Click();
    runner_.Complete(25);
    F().SetUiState(S::StatisticsIdle);
    F().StaticTextModem.SetText("x");
    F().StaticTextState.SetText("x");
    F().StaticTextRdTime.SetText("x");
    F().StaticTextMessages.SetText(" Get statistics OK.");

    (toRemote ? F().RadioButtonRemote : F().RadioButtonLocal).Click();

    EXPECT_EQ(CommandButtons(F()), "11000100");
    EXPECT_FALSE(F().ButtonClearStatistics.Enabled());
    EXPECT_FALSE(F().ButtonClearTest.Enabled());
    EXPECT_FALSE(F().ComboBoxTest.Enabled());
    EXPECT_EQ(Message(), QString());
    for (const ui::StaticText* t : {&F().StaticTextModem, &F().StaticTextVersion, &F().StaticTextState,
                                    &F().StaticTextInterface, &F().StaticTextFillTime, &F().StaticTextFaults,
                                    &F().StaticTextRdTime})
      EXPECT_EQ(t->Text(), QString()) << t->Name().toStdString();
    EXPECT_FALSE(F().GroupBoxP2Nets.Visible());
    EXPECT_FALSE(F().GroupBoxEthernet.Visible());
    EXPECT_FALSE(F().GroupBoxE1.Visible());
    EXPECT_EQ(F().TargetWord(), QString(toRemote ? "remote " : "local "));
    EXPECT_EQ(F().TargetLocal(), !toRemote);
    EXPECT_EQ(F().ComboBoxTest.Items().size(), toRemote ? 4 : 7);
    EXPECT_EQ(F().ComboBoxTest.ItemIndex(), 0);
    // The counter layout of the ES tests.
    EXPECT_TRUE(F().StaticTextRdTime.Visible());
    EXPECT_FALSE(F().StaticTextBits.Visible());
  }
}

TEST_F(FormMainTest, Remote_ResetAndSoftStayOffEvenWhenIdentified) {
  F().RadioButtonRemote.Click();
  IdentifyAndRead();
  EXPECT_EQ(runner_.starts.back().local, false);
  EXPECT_EQ(CommandButtons(F()), "11100111");
  EXPECT_EQ(F().ComboBoxTest.Items(), QStringList({"RDL-ES", "RDL", "DL", "LL"}));
}

TEST_F(FormMainTest, ComboBoxTestChange_DlShowsBitCounterAndEnablesSelection) {
  IdentifyAndRead();
  F().ComboBoxTest.Choose(5);
  EXPECT_TRUE(F().StaticTextBits.Visible());
  EXPECT_FALSE(F().StaticTextRdTime.Visible());
  EXPECT_TRUE(F().ComboBoxTest.Enabled());
  EXPECT_TRUE(F().LabelTest.Enabled());
  EXPECT_FALSE(F().ButtonClearTest.Enabled());
}

// --- Other windows --------------------------------------------------------------------

TEST_F(FormMainTest, Soft_OpensUpdateWindow_TransferLocksAndReleases) {
  IdentifyAndRead();
  int shown = 0;
  F().Windows.showUpdate = [&] { ++shown; };
  F().ButtonSoftware.Click();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(Message(), QString());
  EXPECT_EQ(CommandButtons(F()), "00010100");
  F().FirmwareTransferRunning(true);
  EXPECT_EQ(CommandButtons(F()), "00000000");
  F().FirmwareTransferRunning(false);
  EXPECT_EQ(CommandButtons(F()), "00010100");
  F().UpdateWindowClosed();
  EXPECT_EQ(CommandButtons(F()), "11111111");
}

TEST_F(FormMainTest, SetupClosed_ReturnsToSetupClosedAndIdentifiesAfresh) {
  IdentifyAndRead();
  F().ButtonSetup.Click();
  runner_.Complete(18);
  runner_.starts.clear();
  F().SetupClosed(kRed, " Exit modem setup error!");
  ASSERT_EQ(runner_.starts.size(), 1u);
  EXPECT_EQ(runner_.starts[0].command, 2);
  EXPECT_EQ(runner_.starts[0].subAddress, 1);
  EXPECT_EQ(F().ButtonSetup.Caption(), QString("Setup"));
  EXPECT_EQ(F().ButtonState.Caption(), QString("Stop"));
  EXPECT_EQ(Message(), QString(" Check modem state ..."));
  EXPECT_EQ(CommandButtons(F()), "01000000");
}

TEST_F(FormMainTest, Port_ChangedName_LogsStopReopenStartAndRenamesCaption) {
  QString caption;
  F().OnCaptionChanged = [&](const QString& c) { caption = c; };
  dialog_.newName = QStringLiteral("ttyUSB7");
  F().ButtonPort.Click();
  EXPECT_EQ(log_, (std::vector<QString>{"R-KVT-MS_v2.48 stopped.", "<reopen ttyUSB7>", "R-KVT-MS_v2.48 started."}));
  EXPECT_EQ(caption, QString("R-KVT-MS_v2.48 ttyUSB7"));
  EXPECT_EQ(F().Caption(), caption);
  EXPECT_EQ(F().PortName(), QString("ttyUSB7"));

  // Same name again, or cancelled: nothing happens.
  log_.clear();
  F().ButtonPort.Click();
  dialog_.newName.reset();
  F().ButtonPort.Click();
  EXPECT_EQ(dialog_.shown, 3);
  EXPECT_TRUE(log_.empty());
}

TEST_F(FormMainTest, Progress_StepsEverySecondAndOffResetsIt) {
  F().ProgressOn();
  clock_.Advance(3000);
  EXPECT_EQ(F().AdvProgress.Position(), 3);
  F().ProgressOff();
  EXPECT_EQ(F().AdvProgress.Position(), 0);
  EXPECT_FALSE(invisible_.TimerProgress.Enabled());
  clock_.Advance(3000);
  EXPECT_EQ(F().AdvProgress.Position(), 0);
}

TEST_F(FormMainTest, WorkerHost_TextOnMessageLineBeepAndUpdateProgress) {
  int progress = -1;
  F().Windows.updateProgress = [&](int p) { progress = p; };
  ProtocolHost& host = F().WorkerHost();
  host.ShowStatusText(" Can't open COM-port!", false);
  host.ShowProgress(0);
  host.Beep();
  EXPECT_EQ(Message(), QString(" Can't open COM-port!"));
  EXPECT_EQ(progress, 0);
  EXPECT_EQ(beeper_.beeps, 1);
}

}  // namespace
}  // namespace rkvt::test
