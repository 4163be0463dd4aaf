// The 32 UI states as one table, and the panel actions they are made of.

#include <array>

#include "mainwin/Decode.h"
#include "mainwin/LoopTestKinds.h"
#include "mainwin/TFormMain.h"

namespace rkvt {

namespace {

// Local: enabled only while the target is the local modem (Reset, Soft).
enum class Sw : std::uint8_t { Keep, Off, On, Local };

struct ButtonSet {
  Sw radios, state, setup, reset, soft, port, statistics, test;
};

constexpr ButtonSet kKeep{Sw::Keep, Sw::Keep, Sw::Keep, Sw::Keep, Sw::Keep, Sw::Keep, Sw::Keep, Sw::Keep};
constexpr ButtonSet kUnidentified{Sw::On, Sw::On, Sw::Off, Sw::Off, Sw::Off, Sw::On, Sw::Off, Sw::Off};
constexpr ButtonSet kLocked{Sw::Off, Sw::Off, Sw::Off, Sw::Off, Sw::Off, Sw::Off, Sw::Off, Sw::Off};
constexpr ButtonSet kBasic{Sw::On, Sw::On, Sw::Keep, Sw::Local, Sw::Local, Sw::On, Sw::Keep, Sw::Keep};
constexpr ButtonSet kFree{Sw::On, Sw::On, Sw::On, Sw::Local, Sw::Local, Sw::On, Sw::On, Sw::On};

constexpr ButtonSet LockedBut(Sw ButtonSet::*button) {
  ButtonSet set = kLocked;
  // Reset stays a local-only button even when it is the one left free.
  set.*button = button == &ButtonSet::reset ? Sw::Local : Sw::On;
  return set;
}

constexpr ButtonSet UpdateOpen() {
  ButtonSet set = kLocked;
  set.reset = Sw::Local;
  set.port = Sw::On;
  return set;
}

enum class Tone : std::uint8_t { Keep, Normal, Red };
enum class Progress : std::uint8_t { Keep, On, Off };

struct UiStateRow {
  UiState state;
  Tone message = Tone::Keep;
  bool emptyMessage = false;
  ButtonSet buttons = kKeep;
  bool typeLabelsOn = false;
  Tone typeTexts = Tone::Keep;
  bool blankAll = false;
  bool blankState = false;
  bool hidePanels = false;
  bool showStateLabels = false;
  bool interfaceLayout = false;
  bool clearStatisticsOff = false;
  bool blankTest = false;
  bool testSelectionOn = false;
  bool clearTestOff = false;
  bool loopActiveLayout = false;
  bool closeUpdateWindow = false;
  const char* setupCaption = nullptr;
  const char* testCaption = nullptr;
  Progress progress = Progress::Keep;
};

constexpr const char* kSetup = "Setup";
constexpr const char* kStop = "Stop";
constexpr const char* kConnect = "Connect";
constexpr const char* kDisconnect = "Disconnect";

using S = UiState;
constexpr std::array<UiStateRow, kUiStateCount> kUiStates{{
    {.state = S::IdentifyRunning, .message = Tone::Normal, .buttons = LockedBut(&ButtonSet::state),
     .typeTexts = Tone::Normal, .blankAll = true, .hidePanels = true, .blankTest = true, .progress = Progress::On},
    {.state = S::IdentifiedBasic, .buttons = kBasic, .typeLabelsOn = true, .progress = Progress::Off},
    {.state = S::IdentifiedReady, .buttons = kFree, .typeLabelsOn = true, .testSelectionOn = true,
     .progress = Progress::Off},
    {.state = S::IdentifiedSpecial, .buttons = kBasic, .typeLabelsOn = true, .typeTexts = Tone::Red,
     .progress = Progress::Off},
    {.state = S::UnknownModem, .buttons = kUnidentified, .typeLabelsOn = true, .typeTexts = Tone::Red,
     .progress = Progress::Off},
    {.state = S::UnsupportedVersion, .message = Tone::Red, .buttons = kUnidentified, .typeLabelsOn = true,
     .typeTexts = Tone::Red, .progress = Progress::Off},
    {.state = S::IdentifyError, .message = Tone::Red, .buttons = kUnidentified, .progress = Progress::Off},
    {.state = S::IdentifyStopped, .buttons = kUnidentified, .progress = Progress::Off},
    {.state = S::ResetRunning, .message = Tone::Normal, .buttons = LockedBut(&ButtonSet::reset),
     .clearStatisticsOff = true, .blankTest = true, .closeUpdateWindow = true, .progress = Progress::On},
    {.state = S::ResetDone, .buttons = kBasic, .progress = Progress::Off},
    {.state = S::ResetIdle, .buttons = kFree, .testSelectionOn = true, .progress = Progress::Off},
    {.state = S::ResetError, .message = Tone::Red, .buttons = kFree, .testSelectionOn = true,
     .progress = Progress::Off},
    {.state = S::UpdateWindowOpen, .message = Tone::Normal, .emptyMessage = true, .buttons = UpdateOpen(),
     .blankTest = true},
    {.state = S::FirmwareTransferRunning, .message = Tone::Normal, .buttons = kLocked, .blankTest = true},
    {.state = S::UpdateWindowClosed, .buttons = kFree, .testSelectionOn = true},
    {.state = S::StatisticsRunning, .message = Tone::Normal, .buttons = LockedBut(&ButtonSet::statistics),
     .blankTest = true, .progress = Progress::On},
    {.state = S::StatisticsAfterIdentify, .message = Tone::Normal, .buttons = LockedBut(&ButtonSet::statistics),
     .blankState = true, .hidePanels = true, .blankTest = true, .progress = Progress::On},
    {.state = S::StatisticsShown, .showStateLabels = true, .interfaceLayout = true, .progress = Progress::Off},
    {.state = S::StatisticsIdle, .buttons = kFree, .clearStatisticsOff = true, .testSelectionOn = true,
     .progress = Progress::Off},
    {.state = S::StatisticsError, .message = Tone::Red, .buttons = kFree, .progress = Progress::Off},
    {.state = S::SetupEntering, .message = Tone::Normal, .buttons = LockedBut(&ButtonSet::setup), .blankTest = true,
     .setupCaption = kStop, .progress = Progress::On},
    {.state = S::SetupOpen, .message = Tone::Normal, .buttons = kLocked, .setupCaption = kSetup,
     .progress = Progress::Off},
    {.state = S::SetupFailed, .message = Tone::Red, .buttons = kFree, .testSelectionOn = true,
     .setupCaption = kSetup, .progress = Progress::Off},
    {.state = S::SetupClosed, .buttons = kFree, .testSelectionOn = true, .setupCaption = kSetup,
     .progress = Progress::Off},
    {.state = S::LoopConnecting, .message = Tone::Normal, .buttons = LockedBut(&ButtonSet::test), .blankState = true,
     .hidePanels = true, .blankTest = true, .testCaption = kStop, .progress = Progress::On},
    {.state = S::LoopConnectFailed, .message = Tone::Red, .buttons = kFree, .testSelectionOn = true,
     .testCaption = kConnect, .progress = Progress::Off},
    {.state = S::LoopDisconnecting, .message = Tone::Normal, .clearTestOff = true, .testCaption = kStop,
     .progress = Progress::On},
    {.state = S::LoopDisconnected, .message = Tone::Normal, .buttons = kFree, .testSelectionOn = true,
     .testCaption = kConnect, .progress = Progress::Off},
    {.state = S::LoopDisconnectFailed, .message = Tone::Red, .buttons = kFree, .testSelectionOn = true,
     .testCaption = kConnect, .progress = Progress::Off},
    {.state = S::LoopActive, .loopActiveLayout = true, .testCaption = kDisconnect, .progress = Progress::Off},
    {.state = S::LoopWarning, .message = Tone::Red, .progress = Progress::Off},
    {.state = S::PortError, .message = Tone::Red, .buttons = kUnidentified, .blankAll = true, .hidePanels = true,
     .blankTest = true, .progress = Progress::Off},
}};

constexpr bool RowsInOrder() {
  for (int i = 0; i < kUiStateCount; ++i)
    if (static_cast<int>(kUiStates[i].state) != i) return false;
  return true;
}
static_assert(RowsInOrder(), "one row per UI state, in the order of their numbers");

ui::Color ToneColor(Tone tone) { return tone == Tone::Red ? ui::colors::kRed : ui::Color::WindowText(); }

void Switch(ui::Control& control, Sw sw, bool local) {
  if (sw == Sw::Keep) return;
  control.SetEnabled(sw == Sw::On || (sw == Sw::Local && local));
}

}  // namespace

void TFormMain::SetUiState(UiState state) {
  const int index = static_cast<int>(state);
  if (index < 0 || index >= kUiStateCount) return;
  const UiStateRow& row = kUiStates[index];

  if (row.emptyMessage) StaticTextMessages.SetText(QString());
  if (row.message != Tone::Keep) StaticTextMessages.SetFontColor(ToneColor(row.message));

  const bool local = TargetLocal();
  const ButtonSet& b = row.buttons;
  Switch(RadioButtonLocal, b.radios, local);
  Switch(RadioButtonRemote, b.radios, local);
  Switch(ButtonState, b.state, local);
  Switch(ButtonSetup, b.setup, local);
  Switch(ButtonReset, b.reset, local);
  Switch(ButtonSoftware, b.soft, local);
  Switch(ButtonPort, b.port, local);
  Switch(ButtonStatistics, b.statistics, local);
  Switch(ButtonTest, b.test, local);

  if (row.typeLabelsOn) {
    LabelModem.SetEnabled(true);
    LabelVersion.SetEnabled(true);
  }
  if (row.typeTexts != Tone::Keep) {
    StaticTextModem.SetFontColor(ToneColor(row.typeTexts));
    StaticTextVersion.SetFontColor(ToneColor(row.typeTexts));
  }
  if (row.blankAll) BlankAll();
  if (row.blankState) BlankState();
  if (row.hidePanels) HidePanels(*this);
  if (row.showStateLabels) ShowStateLabels();
  if (row.interfaceLayout) ApplyInterfaceLayout(interfaceCode_, *this);
  if (row.clearStatisticsOff) ButtonClearStatistics.SetEnabled(false);
  if (row.blankTest) BlankTest(*this);
  if (row.testSelectionOn) TestSelectionOn();
  if (row.clearTestOff) ButtonClearTest.SetEnabled(false);
  if (row.loopActiveLayout) LoopActiveLayout();
  if (row.closeUpdateWindow && Windows.closeUpdate) Windows.closeUpdate();
  if (row.setupCaption != nullptr) ButtonSetup.SetCaption(QString::fromLatin1(row.setupCaption));
  if (row.testCaption != nullptr) ButtonTest.SetCaption(QString::fromLatin1(row.testCaption));
  if (row.progress == Progress::On) ProgressOn();
  if (row.progress == Progress::Off) ProgressOff();
}

void TFormMain::BlankAll() {
  for (ui::Label* label : {&LabelModem, &LabelVersion}) label->SetEnabled(false);
  for (ui::StaticText* text : {&StaticTextModem, &StaticTextVersion}) text->SetText(QString());
  BlankState();
}

void TFormMain::BlankState() {
  for (ui::Label* label : {&LabelState, &LabelInterface, &LabelSpeed, &LabelCable, &LabelQual, &LabelBitRateLine,
                           &LabelBitRatePx, &LabelFillTime, &LabelCurrTime, &LabelNoLineTime, &LabelErrorsTime,
                           &LabelFaults})
    label->SetEnabled(false);
  for (ui::StaticText* text :
       {&StaticTextState, &StaticTextInterface, &StaticTextSpeed, &StaticTextCable, &StaticTextQual,
        &StaticTextBitRateLine, &StaticTextBitRatePx, &StaticTextFillTime, &StaticTextCurrTime,
        &StaticTextNoLineTime, &StaticTextErrorsTime, &StaticTextFaults})
    text->SetText(QString());
  ButtonClearStatistics.SetEnabled(false);
}

void TFormMain::ShowStateLabels() {
  for (ui::Label* label : {&LabelState, &LabelInterface, &LabelSpeed, &LabelCable, &LabelQual, &LabelBitRateLine,
                           &LabelBitRatePx, &LabelFillTime, &LabelCurrTime, &LabelNoLineTime, &LabelErrorsTime,
                           &LabelFaults})
    label->SetEnabled(true);
  ButtonClearStatistics.SetEnabled(true);
}

void TFormMain::TestSelectionOn() {
  LabelTest.SetEnabled(true);
  ComboBoxTest.SetEnabled(true);
  ButtonClearTest.SetEnabled(false);
}

// What a running test shows, chosen once on its first loop statistics reply.
void TFormMain::LoopActiveLayout() {
  const int test = TestIndex();
  for (ui::Label* label : {&LabelRdTime, &LabelNRdTime, &LabelESTime, &LabelSESTime, &LabelBits})
    label->SetEnabled(true);
  LabelState.SetEnabled(true);
  const bool counters = test < loop::kTestRdl || test == loop::kTestDl;
  if (test != loop::kTestLl) {
    LabelQual.SetEnabled(true);
    LabelBitRateLine.SetEnabled(true);
  }
  if (test == loop::kTestRdl || test == loop::kTestAl) LabelBitRatePx.SetEnabled(true);
  if (!counters) {
    LabelInterface.SetEnabled(true);
    LabelCable.SetEnabled(true);
  }
  // Later replies may name another interface; the panels stay as first shown.
  if (firstPoll_) loopLayoutInterface_ = interfaceCode_;
  ApplyInterfaceLayout(loopLayoutInterface_, *this);
  // The counter tests show the interface's fields but none of its panels.
  if (counters) HidePanels(*this);
  ButtonClearTest.SetEnabled(counters);
}

}  // namespace rkvt
