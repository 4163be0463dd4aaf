#include "mainwin/TFormMain.h"

#include "link/Commands.h"
#include "mainwin/Decode.h"
#include "mainwin/LoopTestKinds.h"

namespace rkvt {

namespace {

constexpr int kProgressStepMs = 1000;

std::uint8_t SubAddress(std::uint8_t command) {
  switch (command) {
    case command::kIdentify:
    case command::kResetViaLoader:
    case command::kReset:
    case command::kResetSecondStep: return 1;
    default: return 2;
  }
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
      portName_(invisible.ComPort().name),
      caption_(QString::fromLatin1(kProgramTitle) + QLatin1Char(' ') + portName_) {
  ButtonState.OnClick = [this] { ButtonStateClick(); };
  ButtonSetup.OnClick = [this] { ButtonSetupClick(); };
  ButtonReset.OnClick = [this] { ButtonResetClick(); };
  ButtonSoftware.OnClick = [this] { ButtonSoftwareClick(); };
  ButtonPort.OnClick = [this] { ButtonPortClick(); };
  ButtonStatistics.OnClick = [this] { ButtonStatisticsClick(); };
  ButtonClearStatistics.OnClick = [this] { ButtonClearStatisticsClick(); };
  ButtonTest.OnClick = [this] { ButtonTestClick(); };
  ButtonClearTest.OnClick = [this] { ButtonClearTestClick(); };
  RadioButtonLocal.OnClick = [this] { RadioButtonLocalClick(); };
  RadioButtonRemote.OnClick = [this] { RadioButtonRemoteClick(); };
  ComboBoxTest.OnChange = [this] { ComboBoxTestChange(); };

  invisible_.TimerStatistics.OnTimer = [this] {
    invisible_.TimerStatistics.SetEnabled(false);
    StatisticsTick();
  };
  invisible_.TimerLoopStatistics.OnTimer = [this] {
    invisible_.TimerLoopStatistics.SetEnabled(false);
    LoopStatisticsTick();
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
  // No 10 ms pause before a start: the worker does not need one, and the
  // user-interface thread is not made to wait.
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
  ButtonState.SetCaption(QStringLiteral("Stop"));
  SetMessage(QStringLiteral(" Check modem state ..."));
  StartCommand(command::kIdentify);
  SetUiState(UiState::IdentifyRunning);
}

void TFormMain::StartDisconnect() {
  firstPoll_ = false;
  StartCommand(command::kDisconnectLoop, loop::TestCode(TestIndex()));
}

void TFormMain::ResetWaitOver() {
  ButtonReset.SetCaption(QStringLiteral("Reset"));
  workingFirmware_ = false;
  StartIdentify();
}

// --- Toggle buttons -------------------------------------------------------------
// A press on the idle caption while a command still runs (its Stop was
// pressed, but it has not ended yet) only repeats the stop request.

bool TFormMain::StopRunning() {
  if (!running_) return false;
  running_->Terminate();
  return true;
}

void TFormMain::ButtonStateClick() {
  if (ButtonState.Caption() == QLatin1String("State")) {
    if (StopRunning()) return;
    StartIdentify();
    return;
  }
  if (!StopRunning()) {
    ButtonState.SetCaption(QStringLiteral("State"));
  }
}

void TFormMain::ButtonSetupClick() {
  if (ButtonSetup.Caption() == QLatin1String("Setup")) {
    if (StopRunning()) return;
    ButtonSetup.SetCaption(QStringLiteral("Stop"));
    SetMessage(QStringLiteral(" Enter modem setup ..."));
    StartCommand(command::kEnterSetup);
    SetUiState(UiState::SetupEntering);
    return;
  }
  if (!StopRunning()) {
    ButtonSetup.SetCaption(QStringLiteral("Setup"));
  }
}

void TFormMain::ButtonResetClick() {
  if (ButtonReset.Caption() == QLatin1String("Reset")) {
    if (StopRunning()) return;
    ButtonReset.SetCaption(QStringLiteral("Stop"));
    SetMessage(QStringLiteral(" Reset modem ..."));
    StartCommand(workingFirmware_ ? command::kReset : command::kResetViaLoader);
    SetUiState(UiState::ResetRunning);
    return;
  }
  if (!StopRunning()) {
    SetMessage(QStringLiteral(" Reset modem stopped."));
    SetUiState(UiState::ResetIdle);
  }
  ButtonReset.SetCaption(QStringLiteral("Reset"));
}

void TFormMain::ButtonStatisticsClick() {
  if (ButtonStatistics.Caption() == QLatin1String("Start")) {
    if (StopRunning()) return;
    ButtonStatistics.SetCaption(QStringLiteral("Stop"));
    SetMessage(QStringLiteral(" Get statistics ..."));
    StartCommand(command::kGetStatistics);
    SetUiState(UiState::StatisticsRunning);
    cyclicStatistics_ = true;
    SetMonitoring(true);
    return;
  }
  if (!StopRunning()) {
    SetMessage(QStringLiteral(" Get statistics stopped."));
    SetUiState(UiState::StatisticsIdle);
  }
  cyclicStatistics_ = false;
  ButtonStatistics.SetCaption(QStringLiteral("Start"));
  invisible_.TimerStatistics.SetEnabled(false);
  SetMonitoring(false);
}

void TFormMain::ButtonTestClick() {
  if (ButtonTest.Caption() == QLatin1String("Connect")) {
    SetMonitoring(true);
    if (StopRunning()) return;
    SetMessage(QStringLiteral(" Connecting ..."));
    StartCommand(command::kConnectLoop, loop::TestCode(TestIndex()));
    SetUiState(UiState::LoopConnecting);
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
  SetMessage(text);
  StaticTextMessages.SetFontColor(colour);
  SetUiState(UiState::SetupClosed);
  StartIdentify();
}

void TFormMain::UpdateWindowClosed() { SetUiState(UiState::UpdateWindowClosed); }

void TFormMain::FirmwareTransferRunning(bool running) {
  SetUiState(running ? UiState::FirmwareTransferRunning : UiState::UpdateWindowOpen);
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
  if (ButtonStatistics.Caption() != QLatin1String("Stop")) return;
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
  // A failed first read leaves "Stop" on the button; the test is connected
  // all the same, so polling goes on until a read succeeds.
  if (ButtonTest.Caption() != QLatin1String("Disconnect") && !firstPoll_) return;
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
