#include "mainwin/TFormMain.h"

#include <utility>

#include "link/Commands.h"
#include "mainwin/Decode.h"
#include "mainwin/LoopTestKinds.h"

namespace rkvt {

namespace {

constexpr int kProgressStepMs = 1000;

std::uint8_t SubAddress(std::uint8_t command) {
  const CommandInfo* info = FindCommand(command);
  return info != nullptr ? info->subAddress : 0;
}

}  // namespace

// The worker's synchronised calls land here, on the user-interface thread.
class TFormMain::Host : public ProtocolHost {
 public:
  explicit Host(TFormMain& form) : form_(form) {}
  void ShowStatusText(const QString& text) override { form_.StaticTextMessages.SetText(text); }
  // The main window's commands report no progress; its bar runs on a timer.
  void ShowProgress(int) override {}
  void Beep() override { form_.beeper_.Beep(); }
  void ShowStatusDetail(const QString& detail) override { form_.StaticTextMessages.SetToolTip(detail); }

 private:
  TFormMain& form_;
};

TFormMain::TFormMain(TInvisible& invisible, ui::Clock& clock, Intervals intervals, CommandRunner& runner,
                     ui::Beeper& beeper, ui::PortDialog& portDialog)
    : invisible_(invisible),
      intervals_(intervals),
      runner_(runner),
      beeper_(beeper),
      portDialog_(portDialog),
      host_(std::make_unique<Host>(*this)),
      resetWait_(clock, QStringLiteral("TimerResetWait"), kResetWaitMs),
      pause_(clock, QStringLiteral("TimerPause"), kPauseMs),
      portName_(invisible.ComPort().name),
      caption_(QString::fromLatin1(kProgramTitle) + QLatin1Char(' ') + portName_) {
  // A control's action waits while a pause runs; by then it may be disabled.
  const auto wire = [this](ui::Control& control, void (TFormMain::*handler)()) {
    return [this, &control, handler] {
      WhenFree([this, &control, handler] {
        if (control.Enabled()) (this->*handler)();
      });
    };
  };
  ButtonState.OnClick = wire(ButtonState, &TFormMain::ButtonStateClick);
  ButtonSetup.OnClick = wire(ButtonSetup, &TFormMain::ButtonSetupClick);
  ButtonReset.OnClick = wire(ButtonReset, &TFormMain::ButtonResetClick);
  ButtonSoftware.OnClick = wire(ButtonSoftware, &TFormMain::ButtonSoftwareClick);
  ButtonPort.OnClick = wire(ButtonPort, &TFormMain::ButtonPortClick);
  ButtonStatistics.OnClick = wire(ButtonStatistics, &TFormMain::ButtonStatisticsClick);
  ButtonClearStatistics.OnClick = wire(ButtonClearStatistics, &TFormMain::ButtonClearStatisticsClick);
  ButtonTest.OnClick = wire(ButtonTest, &TFormMain::ButtonTestClick);
  ButtonClearTest.OnClick = wire(ButtonClearTest, &TFormMain::ButtonClearTestClick);
  RadioButtonLocal.OnClick = wire(RadioButtonLocal, &TFormMain::RadioButtonLocalClick);
  RadioButtonRemote.OnClick = wire(RadioButtonRemote, &TFormMain::RadioButtonRemoteClick);
  ComboBoxTest.OnChange = wire(ComboBoxTest, &TFormMain::ComboBoxTestChange);

  invisible_.TimerStatistics.OnTimer = [this] {
    invisible_.TimerStatistics.SetEnabled(false);
    WhenFree([this] { StatisticsTick(); });
  };
  invisible_.TimerLoopStatistics.OnTimer = [this] {
    invisible_.TimerLoopStatistics.SetEnabled(false);
    WhenFree([this] { LoopStatisticsTick(); });
  };
  invisible_.TimerProgress.OnTimer = [this] { AdvProgress.StepIt(); };
  invisible_.TimerLoopNoLine10s.OnTimer = [this] {
    StaticTextState.SetText(QStringLiteral(" No Line"));
    StaticTextState.SetFontColor(ui::colors::kRed);
    invisible_.TimerLoopNoLine10s.SetEnabled(false);
  };
  resetWait_.OnTimer = [this] {
    resetWait_.SetEnabled(false);
    ResetWaitOver();
  };
  pause_.OnTimer = [this] { PauseOver(); };

  // Start-up: nothing identified, local target, every display empty.
  RadioButtonLocal.SetChecked(true);
  RadioButtonRemote.SetChecked(false);
  ComboBoxTest.SetItems(loop::SelectorItems(true));
  for (ui::Button* button : {&ButtonSetup, &ButtonReset, &ButtonSoftware, &ButtonStatistics, &ButtonClearStatistics,
                             &ButtonTest, &ButtonClearTest})
    button->SetEnabled(false);
  BlankAll();
  HidePanels(*this);
  ApplyCounterLayout(0, *this);
  BlankTest(*this);
}

TFormMain::~TFormMain() {
  // The timers outlive this window; their ticks must not reach it.
  for (ui::Timer* timer : {&invisible_.TimerStatistics, &invisible_.TimerLoopStatistics, &invisible_.TimerProgress,
                           &invisible_.TimerLoopNoLine10s}) {
    timer->SetEnabled(false);
    timer->OnTimer = nullptr;
  }
}

void TFormMain::FormCreate() {
  if (EventLog.add) EventLog.add(QString::fromLatin1(kProgramTitle) + QStringLiteral(" started."));
}

void TFormMain::FormDestroy() {
  if (EventLog.add) EventLog.add(QString::fromLatin1(kProgramTitle) + QStringLiteral(" stopped."));
}

ProtocolHost& TFormMain::WorkerHost() { return *host_; }

// --- The pauses ----------------------------------------------------------------

void TFormMain::AfterPause(std::function<void()> step) {
  afterPause_ = std::move(step);
  pause_.Restart(kPauseMs);
}

void TFormMain::PauseOver() {
  pause_.SetEnabled(false);
  if (auto step = std::exchange(afterPause_, nullptr)) step();
  // In the order they came; one of them may start the next pause.
  while (!pause_.Enabled() && !waiting_.empty()) {
    auto action = std::move(waiting_.front());
    waiting_.erase(waiting_.begin());
    action();
  }
}

void TFormMain::WhenFree(std::function<void()> action) {
  if (pause_.Enabled()) {
    waiting_.push_back(std::move(action));
  } else {
    action();
  }
}

int TFormMain::TestIndex() const { return loop::TestIndex(ComboBoxTest.ItemIndex(), TargetLocal()); }

// --- Small pieces ------------------------------------------------------------

void TFormMain::SetMessage(const QString& text) { StaticTextMessages.SetText(text); }

void TFormMain::SetMessageRed() { StaticTextMessages.SetFontColor(ui::colors::kRed); }

void TFormMain::Beep() { beeper_.Beep(); }

void TFormMain::SetMonitoring(bool on) {
  if (EventLog.setMonitoring) EventLog.setMonitoring(on);
}

void TFormMain::SetCaption(const QString& caption) {
  caption_ = caption;
  if (OnCaptionChanged) OnCaptionChanged(caption_);
}

void TFormMain::ProgressOn() {
  AdvProgress.SetPosition(0);
  invisible_.TimerProgress.Restart(kProgressStepMs);
}

void TFormMain::ProgressOff() {
  invisible_.TimerProgress.SetEnabled(false);
  AdvProgress.SetPosition(0);
}

void TFormMain::RearmStatistics() {
  invisible_.TimerStatistics.SetInterval(intervals_.statisticsMs);
  invisible_.TimerStatistics.SetEnabled(true);
}

void TFormMain::RearmLoop() {
  invisible_.TimerLoopStatistics.SetInterval(intervals_.loopMs);
  invisible_.TimerLoopStatistics.SetEnabled(true);
  // The modem has answered: the watchdogs are for its silence, not for our
  // own wait until the next tick, which a long loop interval makes longer
  // than theirs (a false " No Line", a "Disconnect" that sends nothing).
  if (inCompletion_ && block_[0] != result::kLoopStatisticsFailed) {
    invisible_.TimerLoopNoLine10s.Restart(intervals_.loopMs + kNoLineWarningMs);
    invisible_.TimerLoopNoLine20s.Restart(intervals_.loopMs + kNoLineGiveUpMs);
  }
}

void TFormMain::LoopTimersOff() {
  invisible_.TimerLoopStatistics.SetEnabled(false);
  invisible_.TimerLoopNoLine10s.SetEnabled(false);
  invisible_.TimerLoopNoLine20s.SetEnabled(false);
}

void TFormMain::RestartNoLineTimers() {
  invisible_.TimerLoopNoLine10s.Restart(kNoLineWarningMs);
  invisible_.TimerLoopNoLine20s.Restart(kNoLineGiveUpMs);
}

// --- Starting commands ---------------------------------------------------------

bool TFormMain::StartCommand(std::uint8_t command, std::optional<std::uint8_t> requestByte) {
  if (inCompletion_) {
    if (startedInCompletion_) return false;
    // The log must see the reply, not the next request.
    TakeSnapshot();
    startedInCompletion_ = true;
  } else if (running_) {
    return false;
  }
  if (requestByte) {
    block_[1] = 0;
    block_[2] = *requestByte;
  }
  StaticTextMessages.SetToolTip(QString());  // an earlier fault no longer applies
  running_ = runner_.Start({.command = command,
                            .subAddress = SubAddress(command),
                            .local = TargetLocal(),
                            .block = block_,
                            .softwareLevel = softwareLevel_,
                            .host = host_.get()},
                           [this] { CompletionHandler(); });
  return true;
}

void TFormMain::StartIdentify() {
  SetMode(Toggle::State, ToggleMode::Running);
  SetMessage(QStringLiteral(" Check modem state ..."));
  // The window is locked at once; only the start waits for the pause.
  SetUiState(UiState::IdentifyRunning);
  AfterPause([this] { StartCommand(command::kIdentify); });
}

void TFormMain::StartDisconnect() {
  firstPoll_ = false;
  StartCommand(command::kDisconnectLoop, loop::TestCode(TestIndex()));
}

void TFormMain::ResetWaitOver() {
  SetMode(Toggle::Reset, ToggleMode::Idle);
  workingFirmware_ = false;
  StartIdentify();
}

// --- Toggle buttons -------------------------------------------------------------

namespace {

using Mode = TFormMain::ToggleMode;

// What each toggle button starts, and what a press with nothing running does
// to a button that is not idle.
struct ToggleRow {
  ui::Button MainWindowControls::*button;
  const char* idleCaption;
  const char* pollingCaption;
  std::uint8_t command;
  const char* startMessage;
  UiState startState;
  // After a stop request to its running command. Reset and Start read as
  // idle again at once: a second press repeats the request.
  Mode afterStop;
  const char* idleMessage;  // nullptr: the message stays
  std::optional<UiState> idleState;
  // Statistics polling: its flag, timer and the log's monitoring end with
  // any press that stops it.
  bool cycle = false;
};

using C = MainWindowControls;
const std::array<ToggleRow, 5> kToggles{{
    {&C::ButtonState, "State", "Stop", command::kIdentify, " Check modem state ...", UiState::IdentifyRunning,
     Mode::Stopping, nullptr, std::nullopt},
    {&C::ButtonSetup, "Setup", "Stop", command::kEnterSetup, " Enter modem setup ...", UiState::SetupEntering,
     Mode::Stopping, nullptr, std::nullopt},
    // The command follows the firmware: 11 for working firmware, else 10.
    {&C::ButtonReset, "Reset", "Stop", command::kReset, " Reset modem ...", UiState::ResetRunning, Mode::Idle,
     " Reset modem stopped.", UiState::ResetIdle},
    {&C::ButtonStatistics, "Start", "Stop", command::kGetStatistics, " Get statistics ...",
     UiState::StatisticsRunning, Mode::Idle, " Get statistics stopped.", UiState::StatisticsIdle, true},
    // Its stop is a disconnect: ButtonTestClick.
    {&C::ButtonTest, "Connect", "Disconnect", command::kConnectLoop, " Connecting ...", UiState::LoopConnecting,
     Mode::Stopping, nullptr, std::nullopt},
}};

const ToggleRow& Row(TFormMain::Toggle toggle) { return kToggles[static_cast<std::size_t>(toggle)]; }

}  // namespace

void TFormMain::SetMode(Toggle toggle, ToggleMode mode) {
  const ToggleRow& row = Row(toggle);
  modes_[static_cast<std::size_t>(toggle)] = mode;
  const char* caption = mode == Mode::Idle ? row.idleCaption : mode == Mode::Polling ? row.pollingCaption : "Stop";
  (this->*row.button).SetCaption(QString::fromLatin1(caption));
}

bool TFormMain::StopRunning() {
  if (!running_) return false;
  running_->Terminate();
  return true;
}

// A press on an idle button while a command still runs (its stop was asked
// and it has not ended) only repeats the stop request.
void TFormMain::ToggleClick(Toggle toggle) {
  const ToggleRow& row = Row(toggle);
  if (Mode(toggle) == Mode::Idle) {
    if (StopRunning()) return;
    if (toggle == Toggle::State) {
      StartIdentify();
      return;
    }
    SetMode(toggle, row.cycle ? Mode::Polling : Mode::Running);
    SetMessage(QString::fromLatin1(row.startMessage));
    std::uint8_t command = row.command;
    std::optional<std::uint8_t> requestByte;
    if (toggle == Toggle::Reset && !workingFirmware_) command = command::kResetViaLoader;
    if (toggle == Toggle::Test) requestByte = loop::TestCode(TestIndex());
    StartCommand(command, requestByte);
    SetUiState(row.startState);
    if (row.cycle) {
      cyclicStatistics_ = true;
      SetMonitoring(true);
    }
    return;
  }
  if (StopRunning()) {
    SetMode(toggle, row.afterStop);
  } else {
    if (row.idleMessage != nullptr) SetMessage(QString::fromLatin1(row.idleMessage));
    if (row.idleState) SetUiState(*row.idleState);
    SetMode(toggle, Mode::Idle);
  }
  if (row.cycle) {
    cyclicStatistics_ = false;
    invisible_.TimerStatistics.SetEnabled(false);
    SetMonitoring(false);
  }
}

void TFormMain::ButtonTestClick() {
  if (Mode(Toggle::Test) == Mode::Idle) {
    SetMonitoring(true);
    ToggleClick(Toggle::Test);
    return;
  }
  SetMonitoring(false);
  firstPoll_ = false;
  if (running_) {
    // A stopped connect or loop read ends in the disconnect request.
    running_->Terminate();
  } else if (invisible_.TimerLoopNoLine20s.Enabled()) {
    SetMessage(QStringLiteral(" Disconnecting ..."));
    StartDisconnect();
    invisible_.TimerLoopStatistics.SetEnabled(false);
    SetUiState(UiState::LoopDisconnecting);
  } else {
    // The modem has not answered for 20 s: a request would only wait for nothing.
    invisible_.TimerLoopStatistics.SetEnabled(false);
    SetUiState(UiState::LoopDisconnected);
  }
  invisible_.TimerLoopNoLine10s.SetEnabled(false);
  invisible_.TimerLoopNoLine20s.SetEnabled(false);
}

void TFormMain::ButtonClearStatisticsClick() { clearStatisticsRequest_ = true; }

void TFormMain::ButtonClearTestClick() { clearTestRequest_ = true; }

// --- Other windows ----------------------------------------------------------------

void TFormMain::ButtonSoftwareClick() {
  SetUiState(UiState::UpdateWindowOpen);
  if (Windows.showUpdate) Windows.showUpdate();
}

void TFormMain::ButtonPortClick() {
  PortSettings& settings = invisible_.ComPort();
  if (!portDialog_.Edit(settings) || settings.name == portName_) return;
  // Each port has its own log file.
  if (EventLog.add) EventLog.add(QString::fromLatin1(kProgramTitle) + QStringLiteral(" stopped."));
  portName_ = settings.name;
  SetCaption(QString::fromLatin1(kProgramTitle) + QLatin1Char(' ') + portName_);
  if (EventLog.reopen) EventLog.reopen(portName_);
  if (EventLog.add) EventLog.add(QString::fromLatin1(kProgramTitle) + QStringLiteral(" started."));
}

void TFormMain::SetupClosed(ui::Color colour, const QString& text) {
  WhenFree([this, colour, text] {
    SetMessage(text);
    StaticTextMessages.SetFontColor(colour);
    SetUiState(UiState::SetupClosed);
    StartIdentify();
  });
}

void TFormMain::UpdateWindowClosed() {
  WhenFree([this] { SetUiState(UiState::UpdateWindowClosed); });
}

void TFormMain::FirmwareTransferRunning(bool running) {
  WhenFree([this, running] {
    SetUiState(running ? UiState::FirmwareTransferRunning : UiState::UpdateWindowOpen);
  });
}

// --- Target and test selection -------------------------------------------------------

void TFormMain::RadioButtonLocalClick() { TargetChange(true); }

void TFormMain::RadioButtonRemoteClick() { TargetChange(false); }

void TFormMain::TargetChange(bool local) {
  RadioButtonLocal.SetChecked(local);
  RadioButtonRemote.SetChecked(!local);
  ComboBoxTest.SetItems(loop::SelectorItems(local));
  ApplyCounterLayout(0, *this);
  SetMessage(QString());
  // The Unidentified button set.
  for (ui::Control* on : std::initializer_list<ui::Control*>{&RadioButtonLocal, &RadioButtonRemote, &ButtonState,
                                                            &ButtonPort})
    on->SetEnabled(true);
  for (ui::Button* off : {&ButtonSetup, &ButtonReset, &ButtonSoftware, &ButtonStatistics, &ButtonTest})
    off->SetEnabled(false);
  BlankAll();
  HidePanels(*this);
  BlankTest(*this);
  targetWord_ = local ? QStringLiteral("local ") : QStringLiteral("remote ");
}

void TFormMain::ComboBoxTestChange() {
  ApplyCounterLayout(TestIndex(), *this);
  TestSelectionOn();
}

// --- Polling ticks -----------------------------------------------------------------------

void TFormMain::StatisticsTick() {
  const ToggleMode mode = Mode(Toggle::Statistics);
  if (mode != ToggleMode::Running && mode != ToggleMode::Polling) return;
  if (running_) {
    // Try again later; a pending clear stays pending.
    SetMessage(QStringLiteral(" Get statistics ..."));
    if (!invisible_.TimerStatistics.Enabled()) RearmStatistics();
    return;
  }
  if (clearStatisticsRequest_) {
    SetMessage(QStringLiteral(" Reset statistics ..."));
    StartCommand(command::kResetStatistics);
    clearStatisticsRequest_ = false;
  } else {
    SetMessage(QStringLiteral(" Get statistics ..."));
    StartCommand(command::kGetStatistics);
  }
  StaticTextMessages.SetFontColor(ui::Color::WindowText());
  ProgressOn();
}

void TFormMain::LoopStatisticsTick() {
  // A failed first read leaves the button running; the test is connected
  // all the same, so polling goes on until a read succeeds.
  if (Mode(Toggle::Test) != ToggleMode::Polling && !firstPoll_) return;
  if (running_) {
    // Never two loop reads at once; try again later.
    RearmLoop();
    return;
  }
  if (clearTestRequest_) {
    SetMessage(QStringLiteral(" Reset loop statistics ..."));
    StartCommand(command::kResetLoopStatistics);
    clearTestRequest_ = false;
  } else {
    SetMessage(QStringLiteral(" Get loop statistics ..."));
    StartCommand(command::kGetLoopStatistics, loop::PageCode(TestIndex(), softwareLevel_));
  }
  StaticTextMessages.SetFontColor(ui::Color::WindowText());
  ProgressOn();
  RestartNoLineTimers();
}

}  // namespace rkvt
