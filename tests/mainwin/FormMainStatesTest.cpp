// Start state, the 32 UI states, target change and the calls of other windows.

#include "FormMainHarness.h"

namespace rkvt::test {
namespace {

TEST_F(FormMainTest, Start_OnlyStatePortAndRadiosEnabled_LocalSelected_LogOnCreateAndDestroy) {
  EXPECT_EQ(CommandButtons(F(), 11), "11000100000");
  EXPECT_TRUE(F().RadioButtonLocal.Checked() && !F().RadioButtonRemote.Checked());
  EXPECT_EQ(F().ComboBoxTest.Items(), QStringList({"RDL-ES", "AL-ES", "ES", "RDL", "AL", "DL", "LL"}));
  EXPECT_EQ(F().ComboBoxTest.ItemIndex(), 0);
  EXPECT_EQ(F().TargetWord(), QString("local "));
  EXPECT_EQ(F().Caption(), "R-KVT-MS_v2.48 " + invisible_.ComPort().name);
  EXPECT_FALSE(invisible_.TimerProgress.Enabled() || invisible_.TimerStatistics.Enabled());
  F().FormCreate();
  F().FormDestroy();
  EXPECT_EQ(log_, (std::vector<QString>{"R-KVT-MS_v2.48 started.", "R-KVT-MS_v2.48 stopped."}));
}

// --- UI states ------------------------------------------------------------------

// `buttons`: the 11 columns of CommandButtons(); '1' on, '0' off, 'L' on only
// with the local target, '=' unchanged.
// `effects`: message colour ('N' normal, 'R' red, '=' kept), progress ('1',
// '0', '=' kept), displays ('A' all emptied and their labels grey, 'S' all
// but type and version, 'L' type labels on, 'V' state labels on, '-' none,
// '*' state labels not checked), type and version colour ('N', 'R', '=').
struct StateCase {
  UiState state;
  const char *buttons, *effects;
  const char* setupCaption = nullptr;  // nullptr: unchanged
  const char* testCaption = nullptr;
};

void PrintTo(const StateCase& c, std::ostream* os) { *os << "state " << static_cast<int>(c.state); }

using S = UiState;
const StateCase kStates[] = {
    {S::IdentifyRunning, "01000000000", "N1AN"},      {S::IdentifiedBasic, "11=LL1=====", "=0L="},
    {S::IdentifiedReady, "111LL111=01", "=0L="},      {S::IdentifiedSpecial, "11=LL1=====", "=0LR"},
    {S::UnknownModem, "11000100===", "=0LR"},         {S::UnsupportedVersion, "11000100===", "R0LR"},
    {S::IdentifyError, "11000100===", "R0-="},        {S::IdentifyStopped, "11000100===", "=0-="},
    {S::ResetRunning, "000L0000000", "N1-="},         {S::ResetDone, "11=LL1=====", "=0-="},
    {S::ResetIdle, "111LL111=01", "=0-="},            {S::ResetError, "111LL111=01", "R0-="},
    {S::UpdateWindowOpen, "000L0100=00", "N=-="},     {S::FirmwareTransferRunning, "00000000=00", "N=-="},
    {S::UpdateWindowClosed, "111LL111=01", "==-="},   {S::StatisticsRunning, "00000010=00", "N1-="},
    {S::StatisticsAfterIdentify, "00000010000", "N1S="}, {S::StatisticsShown, "========1==", "=0V="},
    {S::StatisticsIdle, "111LL111001", "=0-="},       {S::StatisticsError, "111LL111===", "R0-="},
    {S::SetupEntering, "00100000=00", "N1-=", "Stop"}, {S::SetupOpen, "00000000===", "N0-=", "Setup"},
    {S::SetupFailed, "111LL111=01", "R0-=", "Setup"}, {S::SetupClosed, "111LL111=01", "=0-=", "Setup"},
    {S::LoopConnecting, "00000001000", "N1S=", nullptr, "Stop"},
    {S::LoopConnectFailed, "111LL111=01", "R0-=", nullptr, "Connect"},
    {S::LoopDisconnecting, "=========0=", "N1-=", nullptr, "Stop"},
    {S::LoopDisconnected, "111LL111=01", "N0-=", nullptr, "Connect"},
    {S::LoopDisconnectFailed, "111LL111=01", "R0-=", nullptr, "Connect"},
    {S::LoopActive, "=========1=", "=0*=", nullptr, "Disconnect"},
    {S::LoopWarning, "===========", "R0-="},          {S::PortError, "11000100000", "R0A="},
};

class UiStates : public FormMainTest, public testing::WithParamInterface<StateCase> {
 protected:
  std::vector<ui::StaticText*> TypeTexts() { return {&F().StaticTextModem, &F().StaticTextVersion}; }
  std::vector<ui::StaticText*> StateTexts() {
    return {&F().StaticTextState,    &F().StaticTextInterface,  &F().StaticTextSpeed,     &F().StaticTextCable,
            &F().StaticTextQual,     &F().StaticTextBitRateLine, &F().StaticTextBitRatePx, &F().StaticTextFillTime,
            &F().StaticTextCurrTime, &F().StaticTextNoLineTime, &F().StaticTextErrorsTime, &F().StaticTextFaults};
  }
  std::vector<ui::Label*> StateLabels() {
    return {&F().LabelState,    &F().LabelInterface,  &F().LabelSpeed,      &F().LabelCable,
            &F().LabelQual,     &F().LabelBitRateLine, &F().LabelBitRatePx, &F().LabelFillTime,
            &F().LabelCurrTime, &F().LabelNoLineTime, &F().LabelErrorsTime, &F().LabelFaults};
  }
};

TEST_P(UiStates, ButtonsColoursCaptionsProgressAndDisplays) {
  const StateCase& c = GetParam();
  const ui::Color kept = ui::Color::Rgb(0x123456);
  const auto tone = [&](char t) { return t == 'N' ? kNormal : t == 'R' ? kRed : kept; };
  const char display = c.effects[2];
  const bool stateBlank = display == 'A' || display == 'S';
  for (bool local : {true, false}) {
    // The handler itself: the radios may be locked by the previous round.
    local ? F().RadioButtonLocalClick() : F().RadioButtonRemoteClick();
    for (bool baseline : {true, false}) {
      SCOPED_TRACE(testing::Message() << (local ? "local" : "remote") << ", baseline " << baseline);
      // Every control in one known condition, so "unchanged" can be seen.
      for (ui::Control* k : Columns(F())) k->SetEnabled(baseline);
      for (ui::Label* l : StateLabels()) l->SetEnabled(baseline);
      for (ui::Control* k : {&F().LabelModem, &F().LabelVersion}) k->SetEnabled(baseline);
      F().RadioButtonRemote.SetEnabled(baseline);
      for (ui::StaticText* t : StateTexts()) t->SetText("x");
      for (ui::StaticText* t : TypeTexts()) t->SetText("x"), t->SetFontColor(kept);
      F().StaticTextMessages.SetText("keep");
      F().StaticTextMessages.SetFontColor(kept);
      F().ButtonSetup.SetCaption("caption");
      F().ButtonTest.SetCaption("caption");
      invisible_.TimerProgress.Restart(1000);
      F().AdvProgress.SetPosition(5);

      F().SetUiState(c.state);

      std::string buttons = c.buttons;
      for (char& b : buttons) b = b == '=' ? "01"[baseline] : b == 'L' ? "01"[local] : b;
      EXPECT_EQ(CommandButtons(F(), 11), buttons);
      EXPECT_EQ(MessageColor(), tone(c.effects[0]));
      EXPECT_EQ(Message(), QString(c.state == S::UpdateWindowOpen ? "" : "keep"));
      EXPECT_EQ(invisible_.TimerProgress.Enabled(), c.effects[1] != '0');
      EXPECT_EQ(F().AdvProgress.Position(), c.effects[1] == '=' ? 5 : 0);
      EXPECT_EQ(F().ButtonSetup.Caption(), QString(c.setupCaption ? c.setupCaption : "caption"));
      EXPECT_EQ(F().ButtonTest.Caption(), QString(c.testCaption ? c.testCaption : "caption"));
      for (ui::StaticText* t : TypeTexts()) {
        EXPECT_EQ(t->Text(), QString(display == 'A' ? "" : "x")) << t->Name().toStdString();
        EXPECT_EQ(t->FontColor(), tone(c.effects[3])) << t->Name().toStdString();
      }
      const bool typeLabels = display != 'A' && (display == 'L' || baseline);
      EXPECT_EQ(Flags({F().LabelModem.Enabled(), F().LabelVersion.Enabled()}), typeLabels ? "11" : "00");
      for (ui::StaticText* t : StateTexts())
        EXPECT_EQ(t->Text(), QString(stateBlank ? "" : "x")) << t->Name().toStdString();
      for (ui::Label* l : display == '*' ? std::vector<ui::Label*>{} : StateLabels())
        EXPECT_EQ(l->Enabled(), !stateBlank && (display == 'V' || baseline)) << l->Name().toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(All32, UiStates, testing::ValuesIn(kStates));

// --- Target change and test choice ----------------------------------------------------

TEST_F(FormMainTest, TargetChange_EmptiesEveryDisplayAndLeavesStatePortRadios) {
  for (bool toRemote : {true, false}) {
    IdentifyAndRead();
    F().ButtonStatistics.Click();
    runner_.Complete(25);
    F().SetUiState(S::StatisticsIdle);
    F().ComboBoxTest.Choose(5);  // DL: the bit counter
    F().StaticTextRdTime.SetText("x");
    ASSERT_EQ(F().StaticTextModem.Text(), QString("Vorak R-KVT-MS"));

    (toRemote ? F().RadioButtonRemote : F().RadioButtonLocal).Click();

    EXPECT_EQ(CommandButtons(F(), 11), "11000100000");
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

TEST_F(FormMainTest, ComboBoxTestChange_DlShowsBitCounterAndEnablesSelection) {
  IdentifyAndRead();
  F().ComboBoxTest.Choose(5);
  EXPECT_TRUE(F().StaticTextBits.Visible() && !F().StaticTextRdTime.Visible());
  EXPECT_TRUE(F().ComboBoxTest.Enabled() && F().LabelTest.Enabled() && !F().ButtonClearTest.Enabled());
}

// --- Other windows --------------------------------------------------------------------

TEST_F(FormMainTest, Soft_OpensUpdateWindow_TransferLocksAndReleases) {
  IdentifyAndRead();
  int shown = 0;
  F().Windows.showUpdate = [&] { ++shown; };
  F().ButtonSoftware.Click();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(Message(), QString());
  std::string sets = CommandButtons(F());
  F().FirmwareTransferRunning(true);
  sets += " " + CommandButtons(F());
  F().FirmwareTransferRunning(false);
  sets += " " + CommandButtons(F());
  F().UpdateWindowClosed();
  EXPECT_EQ(sets + " " + CommandButtons(F()), "00010100 00000000 00010100 11111111");
}

TEST_F(FormMainTest, Port_ChangedName_LogsStopReopenStartAndRenamesCaption) {
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
  EXPECT_EQ(dialog_.shown, 3);
  EXPECT_TRUE(log_.empty());
}

TEST_F(FormMainTest, ProgressStepsEverySecond_WorkerHostShowsTextAndBeeps) {
  F().ProgressOn();
  clock_.Advance(3000);
  EXPECT_EQ(F().AdvProgress.Position(), 3);
  F().ProgressOff();
  clock_.Advance(3000);
  EXPECT_EQ(F().AdvProgress.Position(), 0);
  EXPECT_FALSE(invisible_.TimerProgress.Enabled());
  ProtocolHost& host = F().WorkerHost();
  host.ShowStatusText(" Can't open COM-port!");
  host.Beep();
  EXPECT_EQ(Message(), QString(" Can't open COM-port!"));
  EXPECT_EQ(beeper_.beeps, 1);
}

}  // namespace
}  // namespace rkvt::test
