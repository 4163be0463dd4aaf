// What the main window does when one of its commands ends: one row per
// result code, and the few follow-ups that need more than a row.

#include <array>
#include <optional>

#include "link/Commands.h"
#include "mainwin/Decode.h"
#include "mainwin/LoopTestKinds.h"
#include "mainwin/TFormMain.h"

namespace rkvt {

namespace {

enum class Msg : std::uint8_t { Keep, Empty, Text, Activity };

// The part of a completion that is more than texts, states and flags.
enum class Then : std::uint8_t {
  Nothing,
  Identified,       // decode, then maybe the statistics read
  WaitAfterReset,   // identify again once the modem has restarted
  ResetSecondStep,  // command 14
  SetupEntered,     // hand the record to the setup window
  StatisticsRead,   // decode, then the follow-up
  StatisticsFollowUp,
  LoopConnected,    // first loop statistics read
  Disconnect,       // command 46
  LoopRead,
  Other,
};

struct CompletionRow {
  std::uint8_t result;
  Msg message = Msg::Keep;
  const char* text = nullptr;
  bool red = false;
  bool beep = false;
  Then then = Then::Nothing;
  std::optional<UiState> state;
  const char* stateCaption = nullptr;
  const char* resetCaption = nullptr;
  const char* statisticsCaption = nullptr;
  const char* testCaption = nullptr;
  bool cyclicOff = false;
  bool oneShotOff = false;
  bool firstPollOff = false;
  // The log summarises again once polling or a test has ended.
  bool monitoringOff = false;
  bool statisticsTimerOff = false;
  bool rearmStatistics = false;
  bool rearmLoop = false;
  bool loopTimersOff = false;
};

constexpr const char* kState = "State";
constexpr const char* kReset = "Reset";
constexpr const char* kStart = "Start";
constexpr const char* kConnect = "Connect";

using S = UiState;
constexpr std::array kRows{
    CompletionRow{.result = 1, .message = Msg::Empty, .then = Then::Identified},
    CompletionRow{.result = 2, .message = Msg::Empty, .then = Then::Identified},
    CompletionRow{.result = 3, .message = Msg::Text, .text = " Error! Check cable and port settings.", .beep = true,
                  .state = S::IdentifyError, .stateCaption = kState},
    CompletionRow{.result = 4, .message = Msg::Text, .text = " Check modem type stopped.",
                  .state = S::IdentifyStopped, .stateCaption = kState},
    CompletionRow{.result = 10, .message = Msg::Text, .text = " Reset modem OK.", .then = Then::WaitAfterReset},
    CompletionRow{.result = 11, .then = Then::ResetSecondStep},
    CompletionRow{.result = 12, .message = Msg::Text, .text = " Reset modem error!", .beep = true,
                  .state = S::ResetError, .resetCaption = kReset},
    CompletionRow{.result = 13, .message = Msg::Text, .text = " Reset modem stopped.", .state = S::ResetIdle,
                  .resetCaption = kReset},
    CompletionRow{.result = 14, .message = Msg::Text, .text = " Reset modem OK.", .then = Then::WaitAfterReset},
    CompletionRow{.result = 15, .message = Msg::Text, .text = " Reset modem error!", .beep = true,
                  .state = S::ResetError, .resetCaption = kReset},
    CompletionRow{.result = 16, .message = Msg::Text, .text = " Reset modem stopped.", .state = S::ResetIdle,
                  .resetCaption = kReset},
    // The worker has shown its own port message. A loop's watchdogs must not
    // write " No Line" into the blanked display later.
    CompletionRow{.result = 17, .beep = true, .state = S::PortError, .monitoringOff = true, .loopTimersOff = true},
    CompletionRow{.result = 18, .message = Msg::Text, .text = " Enter modem setup OK.", .then = Then::SetupEntered,
                  .state = S::SetupOpen},
    CompletionRow{.result = 19, .message = Msg::Activity, .red = true, .beep = true, .state = S::SetupFailed},
    CompletionRow{.result = 20, .message = Msg::Text, .text = " Enter modem setup error!", .beep = true,
                  .state = S::SetupFailed},
    CompletionRow{.result = 21, .message = Msg::Text, .text = " Enter modem setup stopped.", .state = S::SetupClosed},
    CompletionRow{.result = 25, .message = Msg::Text, .text = " Get statistics OK.", .then = Then::StatisticsRead},
    CompletionRow{.result = 26, .message = Msg::Text, .text = " Get statistics error!",
                  .then = Then::StatisticsFollowUp},
    CompletionRow{.result = 27, .message = Msg::Text, .text = " Get statistics stopped.", .state = S::StatisticsIdle,
                  .statisticsCaption = kStart, .cyclicOff = true, .oneShotOff = true, .statisticsTimerOff = true},
    CompletionRow{.result = 28, .message = Msg::Text, .text = " Reset statistics OK.", .rearmStatistics = true},
    CompletionRow{.result = 29, .message = Msg::Text, .text = " Reset statistics error!", .beep = true,
                  .state = S::StatisticsError, .statisticsCaption = kStart, .cyclicOff = true, .monitoringOff = true,
                  .statisticsTimerOff = true},
    CompletionRow{.result = 30, .message = Msg::Text, .text = " Reset statistics stopped.",
                  .state = S::StatisticsShown, .statisticsCaption = kStart, .cyclicOff = true,
                  .monitoringOff = true, .statisticsTimerOff = true},
    CompletionRow{.result = 40, .message = Msg::Text, .text = " Get loop statistics ...",
                  .then = Then::LoopConnected},
    CompletionRow{.result = 41, .message = Msg::Text, .text = " Disconnecting ...", .then = Then::Disconnect,
                  .state = S::LoopDisconnecting, .loopTimersOff = true},
    CompletionRow{.result = 42, .message = Msg::Text, .text = " Connecting loop timeout!", .beep = true,
                  .state = S::LoopConnectFailed, .monitoringOff = true},
    CompletionRow{.result = 43, .message = Msg::Text, .text = " Connecting loop off!", .beep = true,
                  .state = S::LoopConnectFailed, .monitoringOff = true},
    CompletionRow{.result = 44, .message = Msg::Activity, .red = true, .beep = true, .state = S::LoopConnectFailed,
                  .testCaption = kConnect, .monitoringOff = true},
    CompletionRow{.result = 45, .message = Msg::Text, .text = " Connecting loop error!", .beep = true,
                  .state = S::LoopConnectFailed, .monitoringOff = true},
    CompletionRow{.result = 46, .message = Msg::Text, .text = " Disconnecting loop OK.",
                  .state = S::LoopDisconnected, .loopTimersOff = true},
    CompletionRow{.result = 47, .message = Msg::Text, .text = " Disconnecting loop stopped.",
                  .state = S::LoopDisconnected},
    CompletionRow{.result = 48, .message = Msg::Text, .text = " Disconnecting loop timeout!", .beep = true,
                  .state = S::LoopDisconnectFailed},
    CompletionRow{.result = 49, .message = Msg::Text, .text = " Disconnecting loop error!", .beep = true,
                  .state = S::LoopDisconnectFailed, .loopTimersOff = true},
    CompletionRow{.result = 50, .message = Msg::Text, .text = " Get loop statistics OK.", .then = Then::LoopRead,
                  .rearmLoop = true},
    CompletionRow{.result = 51, .message = Msg::Text, .text = " Get loop statistics error!", .beep = true,
                  .state = S::LoopWarning, .rearmLoop = true},
    CompletionRow{.result = 52, .message = Msg::Text, .text = " Disconnecting ...", .then = Then::Disconnect,
                  .state = S::LoopDisconnecting, .loopTimersOff = true},
    CompletionRow{.result = 53, .message = Msg::Text, .text = " Reset loop statistics OK.", .rearmLoop = true},
    CompletionRow{.result = 54, .message = Msg::Text, .text = " Reset loop statistics error!", .beep = true,
                  .state = S::LoopWarning, .firstPollOff = true, .loopTimersOff = true},
    CompletionRow{.result = 55, .message = Msg::Text, .text = " Reset loop statistics stopped.",
                  .state = S::LoopActive, .firstPollOff = true, .loopTimersOff = true},
};

constexpr CompletionRow kOther{.result = 0, .then = Then::Other};

const CompletionRow& FindRow(std::uint8_t result) {
  for (const CompletionRow& row : kRows)
    if (row.result == result) return row;
  return kOther;
}

void SetCaptionIf(ui::Button& button, const char* caption) {
  if (caption != nullptr) button.SetCaption(QString::fromLatin1(caption));
}

}  // namespace

void TFormMain::CompletionHandler() {
  // No 10 ms pause before dispatching: the worker has ended, nothing to wait for.
  inCompletion_ = true;
  startedInCompletion_ = false;
  snapshotTaken_ = false;
  const CompletionRow& row = FindRow(block_[0]);

  if (row.message == Msg::Empty) SetMessage(QString());
  if (row.message == Msg::Text) SetMessage(QString::fromLatin1(row.text));
  if (row.message == Msg::Activity)
    SetMessage(QLatin1Char(' ') + ActivityText(block_, 4, TargetLocal()) + QStringLiteral(" !"));

  switch (row.then) {
    case Then::Nothing: break;
    case Then::Identified: Identified(block_[0]); break;
    case Then::WaitAfterReset:
      // The modem restarts now; nothing may reach it before the wait is over.
      ButtonReset.SetEnabled(false);
      resetWait_.Restart(kResetWaitMs);
      break;
    case Then::ResetSecondStep: StartCommand(command::kResetSecondStep); break;
    case Then::SetupEntered:
      if (Windows.showSetup) {
        const QString caption = QStringLiteral("R-KVT-MS - Setup ") +
                                (TargetLocal() ? QStringLiteral("local") : QStringLiteral("remote")) +
                                QStringLiteral(" modem");
        Windows.showSetup(caption, QStringLiteral(" Enter modem setup OK."), std::span(block_).subspan(2, 26));
      }
      break;
    case Then::StatisticsRead: StatisticsRead(); break;
    case Then::StatisticsFollowUp: StatisticsFollowUp(); break;
    case Then::LoopConnected: LoopConnected(); break;
    case Then::Disconnect: StartDisconnect(); break;
    case Then::LoopRead: LoopStatisticsRead(); break;
    case Then::Other:
      if (cyclicStatistics_) {
        SetUiState(UiState::StatisticsShown);
        ProgressOff();
        RearmStatistics();
      }
      break;
  }

  if (row.state) SetUiState(*row.state);
  SetCaptionIf(ButtonState, row.stateCaption);
  SetCaptionIf(ButtonReset, row.resetCaption);
  SetCaptionIf(ButtonStatistics, row.statisticsCaption);
  SetCaptionIf(ButtonTest, row.testCaption);
  if (row.cyclicOff) cyclicStatistics_ = false;
  if (row.oneShotOff) oneShotStatistics_ = false;
  if (row.firstPollOff) firstPoll_ = false;
  if (row.monitoringOff) SetMonitoring(false);
  if (row.statisticsTimerOff) invisible_.TimerStatistics.SetEnabled(false);
  if (row.rearmStatistics) RearmStatistics();
  if (row.rearmLoop) RearmLoop();
  if (row.loopTimersOff) LoopTimersOff();
  if (row.red) SetMessageRed();
  if (row.beep) Beep();

  // Common end: snapshot (unless a chained start took it already), log, and
  // let go of the finished command unless another one runs now.
  TakeSnapshot();
  if (EventLog.monitor) EventLog.monitor(snapshot_);
  inCompletion_ = false;
  if (!startedInCompletion_) running_.reset();
}

void TFormMain::TakeSnapshot() {
  if (snapshotTaken_) return;
  snapshot_ = block_;
  snapshotTaken_ = true;
}

void TFormMain::Identified(std::uint8_t result) {
  softwareLevel_ = 0;
  const IdentificationOutcome outcome = DecodeIdentification(block_, *this);
  softwareLevel_ = outcome.softwareLevel;
  modemVariant_ = outcome.modemVariant;
  if (outcome.workingFirmware) workingFirmware_ = *outcome.workingFirmware;
  if (!outcome.message.isEmpty()) SetMessage(outcome.message);
  if (outcome.uiState) SetUiState(*outcome.uiState);
  if (outcome.beep) Beep();
  ButtonState.SetCaption(QStringLiteral("State"));
  if (!outcome.supported) return;

  if (result == result::kIdentifiedWorking) {
    workingFirmware_ = true;
    SetUiState(UiState::IdentifiedReady);
    SetMessage(QStringLiteral(" Get statistics ..."));
    StartCommand(command::kGetStatistics);
    SetUiState(UiState::StatisticsAfterIdentify);
    ButtonStatistics.SetCaption(QStringLiteral("Stop"));
    oneShotStatistics_ = true;
  } else {
    workingFirmware_ = false;
    SetUiState(UiState::IdentifiedBasic);
  }
}

void TFormMain::StatisticsRead() {
  interfaceCode_ = DecodeState(block_, softwareLevel_, modemVariant_, TargetLocal(), interfaceCode_, *this);
  parameterTexts_ = DecodeStatistics(block_, *this);
  StatisticsFollowUp();
}

void TFormMain::StatisticsFollowUp() {
  if (cyclicStatistics_) {
    SetUiState(UiState::StatisticsShown);
    ProgressOff();
    RearmStatistics();
  }
  if (oneShotStatistics_) {
    invisible_.TimerStatistics.SetEnabled(false);
    SetUiState(UiState::StatisticsShown);
    SetUiState(UiState::StatisticsIdle);
    SetUiState(UiState::IdentifiedReady);
    ButtonStatistics.SetCaption(QStringLiteral("Start"));
    oneShotStatistics_ = false;
  }
}

void TFormMain::LoopConnected() {
  StartCommand(command::kGetLoopStatistics, loop::PageCode(TestIndex(), softwareLevel_));
  firstPoll_ = true;
  // This first read is watched like every later one, so "Disconnect" right
  // after the test shows up still sends the disconnect request.
  RestartNoLineTimers();
}

void TFormMain::LoopStatisticsRead() {
  DecodeLoopPage();
  if (firstPoll_) {
    SetUiState(UiState::LoopActive);
    firstPoll_ = false;
  }
}

void TFormMain::DecodeLoopPage() {
  interfaceCode_ = DecodeLoop(block_, TestIndex(), softwareLevel_, modemVariant_, interfaceCode_, *this);
}

}  // namespace rkvt
