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
  // The toggle button this result leaves idle.
  std::optional<TFormMain::Toggle> idle;
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

constexpr auto kState = TFormMain::Toggle::State;
constexpr auto kReset = TFormMain::Toggle::Reset;
constexpr auto kStart = TFormMain::Toggle::Statistics;
constexpr auto kConnect = TFormMain::Toggle::Test;

using S = UiState;
namespace r = result;
constexpr std::array kRows{
    CompletionRow{.result = r::kIdentifiedLoader, .message = Msg::Empty, .then = Then::Identified},
    CompletionRow{.result = r::kIdentifiedWorking, .message = Msg::Empty, .then = Then::Identified},
    CompletionRow{.result = r::kIdentifyFailed, .message = Msg::Text, .text = " Error! Check cable and port settings.", .beep = true,
                  .state = S::IdentifyError, .idle = kState},
    CompletionRow{.result = r::kIdentifyStopped, .message = Msg::Text, .text = " Check modem type stopped.",
                  .state = S::IdentifyStopped, .idle = kState},
    CompletionRow{.result = r::kResetViaLoaderDone, .message = Msg::Text, .text = " Reset modem OK.", .then = Then::WaitAfterReset},
    CompletionRow{.result = r::kResetDone, .then = Then::ResetSecondStep},
    CompletionRow{.result = r::kResetFailed, .message = Msg::Text, .text = " Reset modem error!", .beep = true,
                  .state = S::ResetError, .idle = kReset},
    CompletionRow{.result = r::kResetStopped, .message = Msg::Text, .text = " Reset modem stopped.", .state = S::ResetIdle,
                  .idle = kReset},
    CompletionRow{.result = r::kResetSecondDone, .message = Msg::Text, .text = " Reset modem OK.", .then = Then::WaitAfterReset},
    CompletionRow{.result = r::kResetSecondFailed, .message = Msg::Text, .text = " Reset modem error!", .beep = true,
                  .state = S::ResetError, .idle = kReset},
    CompletionRow{.result = r::kResetSecondStopped, .message = Msg::Text, .text = " Reset modem stopped.", .state = S::ResetIdle,
                  .idle = kReset},
    // The worker has shown its own port message. A loop's watchdogs must not
    // write " No Line" into the blanked display later.
    CompletionRow{.result = r::kPortError, .beep = true, .state = S::PortError, .monitoringOff = true, .loopTimersOff = true},
    CompletionRow{.result = r::kSetupEntered, .message = Msg::Text, .text = " Enter modem setup OK.", .then = Then::SetupEntered,
                  .state = S::SetupOpen},
    CompletionRow{.result = r::kSetupRefused, .message = Msg::Activity, .red = true, .beep = true, .state = S::SetupFailed},
    CompletionRow{.result = r::kEnterSetupFailed, .message = Msg::Text, .text = " Enter modem setup error!", .beep = true,
                  .state = S::SetupFailed},
    CompletionRow{.result = r::kEnterSetupStopped, .message = Msg::Text, .text = " Enter modem setup stopped.", .state = S::SetupClosed},
    CompletionRow{.result = r::kStatisticsDone, .message = Msg::Text, .text = " Get statistics OK.", .then = Then::StatisticsRead},
    CompletionRow{.result = r::kStatisticsFailed, .message = Msg::Text, .text = " Get statistics error!",
                  .then = Then::StatisticsFollowUp},
    CompletionRow{.result = r::kStatisticsStopped, .message = Msg::Text, .text = " Get statistics stopped.", .state = S::StatisticsIdle,
                  .idle = kStart, .cyclicOff = true, .oneShotOff = true, .statisticsTimerOff = true},
    CompletionRow{.result = r::kStatisticsCleared, .message = Msg::Text, .text = " Reset statistics OK.", .rearmStatistics = true},
    CompletionRow{.result = r::kResetStatisticsFailed, .message = Msg::Text, .text = " Reset statistics error!", .beep = true,
                  .state = S::StatisticsError, .idle = kStart, .cyclicOff = true, .monitoringOff = true,
                  .statisticsTimerOff = true},
    CompletionRow{.result = r::kResetStatisticsStopped, .message = Msg::Text, .text = " Reset statistics stopped.",
                  .state = S::StatisticsShown, .idle = kStart, .cyclicOff = true,
                  .monitoringOff = true, .statisticsTimerOff = true},
    CompletionRow{.result = r::kLoopConnected, .message = Msg::Text, .text = " Get loop statistics ...",
                  .then = Then::LoopConnected},
    CompletionRow{.result = r::kConnectLoopStopped, .message = Msg::Text, .text = " Disconnecting ...", .then = Then::Disconnect,
                  .state = S::LoopDisconnecting, .loopTimersOff = true},
    CompletionRow{.result = r::kConnectLoopNoAnswer, .message = Msg::Text, .text = " Connecting loop timeout!", .beep = true,
                  .state = S::LoopConnectFailed, .monitoringOff = true},
    CompletionRow{.result = r::kConnectLoopAnswered32, .message = Msg::Text, .text = " Connecting loop off!", .beep = true,
                  .state = S::LoopConnectFailed, .monitoringOff = true},
    CompletionRow{.result = r::kConnectLoopBusy, .message = Msg::Activity, .red = true, .beep = true, .state = S::LoopConnectFailed,
                  .idle = kConnect, .monitoringOff = true},
    CompletionRow{.result = r::kConnectLoopFailed, .message = Msg::Text, .text = " Connecting loop error!", .beep = true,
                  .state = S::LoopConnectFailed, .monitoringOff = true},
    CompletionRow{.result = r::kLoopDisconnected, .message = Msg::Text, .text = " Disconnecting loop OK.",
                  .state = S::LoopDisconnected, .loopTimersOff = true},
    CompletionRow{.result = r::kDisconnectLoopStopped, .message = Msg::Text, .text = " Disconnecting loop stopped.",
                  .state = S::LoopDisconnected},
    CompletionRow{.result = r::kDisconnectLoopNoAnswer, .message = Msg::Text, .text = " Disconnecting loop timeout!", .beep = true,
                  .state = S::LoopDisconnectFailed},
    CompletionRow{.result = r::kDisconnectLoopFailed, .message = Msg::Text, .text = " Disconnecting loop error!", .beep = true,
                  .state = S::LoopDisconnectFailed, .loopTimersOff = true},
    CompletionRow{.result = r::kLoopStatisticsDone, .message = Msg::Text, .text = " Get loop statistics OK.", .then = Then::LoopRead,
                  .rearmLoop = true},
    CompletionRow{.result = r::kLoopStatisticsFailed, .message = Msg::Text, .text = " Get loop statistics error!", .beep = true,
                  .state = S::LoopWarning, .rearmLoop = true},
    CompletionRow{.result = r::kLoopStatisticsStopped, .message = Msg::Text, .text = " Disconnecting ...", .then = Then::Disconnect,
                  .state = S::LoopDisconnecting, .loopTimersOff = true},
    CompletionRow{.result = r::kResetLoopStatisticsDone, .message = Msg::Text, .text = " Reset loop statistics OK.", .rearmLoop = true},
    CompletionRow{.result = r::kResetLoopStatisticsFailed, .message = Msg::Text, .text = " Reset loop statistics error!", .beep = true,
                  .state = S::LoopWarning, .firstPollOff = true, .loopTimersOff = true},
    CompletionRow{.result = r::kResetLoopStatisticsStopped, .message = Msg::Text, .text = " Reset loop statistics stopped.",
                  .state = S::LoopActive, .firstPollOff = true, .loopTimersOff = true},
};

// Every result of every command this window starts has its row.
constexpr bool RowsCoverCommands() {
  constexpr std::array kStartedHere{command::kIdentify,         command::kResetViaLoader,  command::kReset,
                                    command::kResetSecondStep,  command::kEnterSetup,      command::kGetStatistics,
                                    command::kResetStatistics,  command::kConnectLoop,     command::kDisconnectLoop,
                                    command::kGetLoopStatistics, command::kResetLoopStatistics};
  return EveryResultCovered(kStartedHere, [](std::uint8_t r) {
    for (const CompletionRow& row : kRows)
      if (row.result == r) return true;
    return false;
  });
}
static_assert(RowsCoverCommands(), "a result of a command started here has no completion row");

constexpr CompletionRow kOther{.result = result::kNone, .then = Then::Other};

const CompletionRow& FindRow(std::uint8_t result) {
  for (const CompletionRow& row : kRows)
    if (row.result == result) return row;
  return kOther;
}

}  // namespace

void TFormMain::CompletionHandler() {
  AfterPause([this] { Dispatch(); });
}

void TFormMain::Dispatch() {
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
  if (row.idle) SetMode(*row.idle, ToggleMode::Idle);
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
  // Why it failed, for whoever wants more than the message says; set after
  // the message, whose change drops an older tooltip. A port error's reason
  // came from the worker already.
  if (running_ && !running_->Fault().isEmpty()) StaticTextMessages.SetToolTip(running_->Fault());

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
  SetMode(Toggle::State, ToggleMode::Idle);
  if (!outcome.supported) return;

  if (result == result::kIdentifiedWorking) {
    workingFirmware_ = true;
    SetUiState(UiState::IdentifiedReady);
    SetMessage(QStringLiteral(" Get statistics ..."));
    StartCommand(command::kGetStatistics);
    SetUiState(UiState::StatisticsAfterIdentify);
    SetMode(Toggle::Statistics, ToggleMode::Running);
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
    SetMode(Toggle::Statistics, ToggleMode::Idle);
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
