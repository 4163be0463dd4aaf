#include "setup/TFormSetup.h"

#include <algorithm>

#include "link/Commands.h"

namespace rkvt {

namespace {

const QString kClose = QStringLiteral("Close");
const QString kLoad = QStringLiteral("Load");
const QString kSave = QStringLiteral("Save");
const QString kStop = QStringLiteral("Stop");

// Load offers profiles 1-5, Save 2-5: profile 1 is the modem's own.
constexpr int kFirstLoadProfile = 1;
constexpr int kFirstSaveProfile = 2;
constexpr int kLastProfile = 5;

QStringList Profiles(int first) {
  QStringList entries;
  for (int p = first; p <= kLastProfile; ++p) entries << QString::number(p);
  return entries;
}

struct StartText {
  std::uint8_t command;
  const char* text;
};
constexpr std::array kStartTexts{
    StartText{command::kSetNewMode, " Set new mode ..."},
    StartText{command::kExitSetup, " Exit modem setup ..."},
    StartText{command::kLoadProfile, " Load profile ..."},
    StartText{command::kSaveProfile, " Save profile ..."},
};

QString StartTextOf(std::uint8_t command) {
  const auto it = std::find_if(kStartTexts.begin(), kStartTexts.end(), [command](const StartText& s) { return s.command == command; });
  return it == kStartTexts.end() ? QString() : QString::fromLatin1(it->text);
}

}  // namespace

SetupWindowControls::SetupWindowControls() {
  setObjectName(QStringLiteral("FormSetup"));
  for (ui::Control* c : std::initializer_list<ui::Control*>{
           &ParamListBoxSetup, &GroupBoxProfiles, &ComboBoxProfilesLoad, &ButtonProfilesLoad, &ComboBoxProfilesSave,
           &ButtonProfilesSave, &ButtonClose, &LabelMessages, &StatusBarMessages, &StatusBarHelpLine})
    c->setParent(this);
  ParamListBoxSetup.SetHint(QStringLiteral("Modem setup parameters"));
  ComboBoxProfilesLoad.SetItems(Profiles(kFirstLoadProfile));
  ComboBoxProfilesLoad.SetHint(QStringLiteral("Select profile to load"));
  ButtonProfilesLoad.SetHint(QStringLiteral("Load profile"));
  ComboBoxProfilesSave.SetItems(Profiles(kFirstSaveProfile));
  ComboBoxProfilesSave.SetHint(QStringLiteral("Select profile to save"));
  ButtonProfilesSave.SetHint(QStringLiteral("Save profile"));
  ButtonClose.SetHint(QStringLiteral("Close setup window"));
  StatusBarMessages.SetHint(QStringLiteral("Messages line"));
  StatusBarHelpLine.SetHint(QStringLiteral("Help line"));
}

// The worker's texts go to the setup window's own message line.
class TFormSetup::Host : public ProtocolHost {
 public:
  explicit Host(TFormSetup& form) : form_(form) {}
  void ShowStatusText(const QString& text) override { form_.StatusBarMessages.SetText(text); }
  void ShowProgress(int) override {}
  void Beep() override { form_.beeper_.Beep(); }

 private:
  TFormSetup& form_;
};

TFormSetup::TFormSetup(CommandRunner& runner, ui::Clock& clock, ui::Beeper& beeper)
    : runner_(runner),
      beeper_(beeper),
      host_(std::make_unique<Host>(*this)),
      exitWait_(clock, QStringLiteral("TimerExitWait"), kExitWaitMs) {
  exitWait_.OnTimer = [this] {
    exitWait_.SetEnabled(false);
    ExitWaitOver();
  };
  ButtonClose.OnClick = [this] { ButtonCloseClick(); };
  ButtonProfilesLoad.OnClick = [this] { ButtonProfilesLoadClick(); };
  ButtonProfilesSave.OnClick = [this] { ButtonProfilesSaveClick(); };
  ParamListBoxSetup.OnParamClick = [this](const QString& key) { ParamListBoxSetupParamClick(key); };
  ParamListBoxSetup.OnParamSelect = [this](const QString& key, const QString& text) {
    ParamListBoxSetupParamSelect(key, text);
  };
  ParamListBoxSetup.OnParamEnter = [this](const QString& key) { ParamListBoxSetupParamEnter(key); };
  ParamListBoxSetup.OnParamLeave = [this](const QString& key) { ParamListBoxSetupParamLeave(key); };
}

TFormSetup::~TFormSetup() = default;

ProtocolHost& TFormSetup::WorkerHost() { return *host_; }

void TFormSetup::EnterSetup(const QString& caption, const QString& message, std::span<const std::uint8_t> record,
                            setup::ModemContext context) {
  level_ = context.level;
  model_.SetContext(context);
  caption_ = caption;
  ClearFlags();
  Unlock();
  SetMessage(message, false);
  Rebuild(record);
  shown_ = true;
  if (OnWindowChanged) OnWindowChanged();
}

void TFormSetup::Rebuild(std::span<const std::uint8_t> record) {
  model_.Build(record);
  ParamListBoxSetup.CloseChoices();
  ShowRows();
  const setup::ProfileSelection profiles = model_.Profiles();
  ComboBoxProfilesLoad.SetItemIndex(profiles.load - kFirstLoadProfile);
  ComboBoxProfilesSave.SetItemIndex(profiles.save - kFirstSaveProfile);
  if (OnWindowChanged) OnWindowChanged();
}

void TFormSetup::ShowRows() { ParamListBoxSetup.SetRows(model_.List().Rows()); }

void TFormSetup::ParamListBoxSetupParamClick(const QString& key) {
  if (running_) return;
  const setup::SetupModel::Click click = model_.ClickLink(key);
  if (click.action == setup::SetupModel::ClickAction::OpenList) {
    // Nothing changed yet; a change stopped earlier waits for the pick.
    ParamListBoxSetup.DropChoices(key, click.entries);
    return;
  }
  ShowRows();
  if (click.action == setup::SetupModel::ClickAction::Flipped) SendIfDue();
}

void TFormSetup::ParamListBoxSetupParamSelect(const QString& key, const QString& text) {
  if (running_) return;
  model_.Choose(key, text);
  ShowRows();
  SendIfDue();
}

void TFormSetup::ParamListBoxSetupParamEnter(const QString& key) {
  savedHelp_ = StatusBarHelpLine.SimpleText();
  StatusBarHelpLine.SetSimpleText(model_.HelpText(key));
}

void TFormSetup::ParamListBoxSetupParamLeave(const QString&) { StatusBarHelpLine.SetSimpleText(savedHelp_); }

void TFormSetup::SendIfDue() {
  if (!model_.SendDue()) return;
  const setup::RecordBytes& working = model_.Record().Working();
  std::copy(working.begin(), working.end(), block_.begin() + 1);
  StartCommand(command::kSetNewMode, ButtonClose);
}

void TFormSetup::StartCommand(std::uint8_t command, ui::Button& stopButton) {
  command_ = command;
  SetMessage(StartTextOf(command), false);
  Lock(stopButton);
  if (Main.progressOn) Main.progressOn();
  Launch();
}

void TFormSetup::Launch() {
  running_ = runner_.Start({.command = command_,
                            .subAddress = FindCommand(command_)->subAddress,
                            .local = !Main.targetLocal || Main.targetLocal(),
                            .block = block_,
                            .softwareLevel = level_,
                            .host = host_.get()},
                           [this] { ResultHandler(); });
}

void TFormSetup::Lock(ui::Button& stopButton) {
  ParamListBoxSetup.CloseChoices();
  for (ui::Control* c : std::initializer_list<ui::Control*>{&ParamListBoxSetup, &ComboBoxProfilesLoad,
                                                             &ComboBoxProfilesSave, &ButtonProfilesLoad,
                                                             &ButtonProfilesSave, &ButtonClose})
    c->SetEnabled(c == &stopButton);
  stopButton_ = &stopButton;
  stopButton.SetCaption(kStop);
}

void TFormSetup::Unlock() {
  for (ui::Control* c : std::initializer_list<ui::Control*>{&ParamListBoxSetup, &ComboBoxProfilesLoad,
                                                             &ComboBoxProfilesSave, &ButtonProfilesLoad,
                                                             &ButtonProfilesSave, &ButtonClose})
    c->SetEnabled(true);
  stopButton_ = nullptr;
  ButtonClose.SetCaption(kClose);
  ButtonProfilesLoad.SetCaption(kLoad);
  ButtonProfilesSave.SetCaption(kSave);
}

void TFormSetup::ButtonCloseClick() {
  if (stopButton_ != &ButtonClose) {
    StartExit();
  } else if (exitRequested_) {
    StopExit();
  } else {
    // Stop during set new mode.
    exitRequested_ = exitStopped_ = false;
    if (!running_) {
      setNewModeStopped_ = false;
      stopButton_ = nullptr;
      ButtonClose.SetCaption(kClose);
      return;
    }
    setNewModeStopped_ = true;
    running_->Terminate();
  }
}

void TFormSetup::ButtonProfilesLoadClick() {
  if (stopButton_ == &ButtonProfilesLoad) {
    if (running_) running_->Terminate();
    return;
  }
  block_[1] = 0;
  block_[2] = static_cast<std::uint8_t>(ComboBoxProfilesLoad.ItemIndex() + kFirstLoadProfile);
  StartCommand(command::kLoadProfile, ButtonProfilesLoad);
}

void TFormSetup::ButtonProfilesSaveClick() {
  if (stopButton_ == &ButtonProfilesSave) {
    if (running_) running_->Terminate();
    return;
  }
  block_[1] = 0;
  block_[2] = static_cast<std::uint8_t>(ComboBoxProfilesSave.ItemIndex() + kFirstSaveProfile);
  StartCommand(command::kSaveProfile, ButtonProfilesSave);
}

// The request is written and the window locked at once; the command itself
// goes out after the modem's pause, with the window still responsive.
void TFormSetup::StartExit() {
  exitRequested_ = true;
  exitStopped_ = setNewModeStopped_ = false;
  const setup::ExitPayload payload = model_.Record().Payload();
  std::copy(payload.begin(), payload.end(), block_.begin() + 1);
  command_ = command::kExitSetup;
  SetMessage(StartTextOf(command::kExitSetup), false);
  Lock(ButtonClose);
  if (Main.progressOn) Main.progressOn();
  exitWait_.Restart(kExitWaitMs);
}

void TFormSetup::ExitWaitOver() {
  if (exitRequested_ && !running_) Launch();
}

void TFormSetup::StopExit() {
  exitRequested_ = setNewModeStopped_ = false;
  if (running_) {
    exitStopped_ = true;
    running_->Terminate();
    return;
  }
  // Stopped in the pause before the request: nothing reached the modem, so
  // it ends as a stop before its answer would.
  exitWait_.SetEnabled(false);
  exitStopped_ = true;
  block_.fill(0);
  ResultHandler();
}

void TFormSetup::ResultHandler() {
  const std::unique_ptr<RunningCommand> ended = std::move(running_);
  const std::uint8_t result = block_[0];
  const std::uint8_t command = command_;
  if (Main.progressOff) Main.progressOff();
  Unlock();

  if (exitStopped_) {
    beeper_.Beep();
    ClearFlags();
    CloseWindow(ui::colors::kRed, QStringLiteral(" Exit modem setup stopped!"));
  } else if (setNewModeStopped_) {
    beeper_.Beep();
    SetMessage(QStringLiteral(" Set new mode stopped!"), true);
    ClearFlags();
  } else if (const setup::SetupResult* row = setup::FindSetupResult(result)) {
    if (row->error) beeper_.Beep();
    ClearFlags();
    const QString text = QString::fromLatin1(row->text.data(), static_cast<qsizetype>(row->text.size()));
    switch (row->after) {
      case setup::SetupAfter::CloseWindow:
        CloseWindow(row->error ? ui::colors::kRed : ui::Color::WindowText(), text);
        break;
      case setup::SetupAfter::RebuildWorking: Rebuild(setup::RecordBytes(model_.Record().Working())); break;
      case setup::SetupAfter::RebuildReceived: Rebuild(setup::RecordBytes(model_.Record().Received())); break;
      case setup::SetupAfter::RebuildReply:
        Rebuild(std::span<const std::uint8_t>(block_).subspan(2, setup::kRecordSize));
        break;
      case setup::SetupAfter::StayOpen:
      case setup::SetupAfter::Nothing: break;
    }
    if (row->after != setup::SetupAfter::CloseWindow) SetMessage(text, row->error);
  } else {
    // A port error (the worker has shown its text) or a result no setup
    // command gives: the modem has not taken a change, so the list shows
    // what it last reported again.
    beeper_.Beep();
    StatusBarMessages.SetFontColor(ui::colors::kRed);
    ClearFlags();
    if (command == command::kSetNewMode || command == command::kLoadProfile)
      Rebuild(setup::RecordBytes(model_.Record().Received()));
  }
  block_.fill(0);
}

void TFormSetup::CloseWindow(ui::Color colour, const QString& text) {
  ParamListBoxSetup.CloseChoices();
  shown_ = false;
  if (OnWindowChanged) OnWindowChanged();
  if (Main.setupClosed) Main.setupClosed(colour, text);
}

void TFormSetup::SetMessage(const QString& text, bool red) {
  StatusBarMessages.SetText(text);
  StatusBarMessages.SetFontColor(red ? ui::colors::kRed : ui::Color::WindowText());
}

void TFormSetup::ClearFlags() { exitRequested_ = exitStopped_ = setNewModeStopped_ = false; }

}  // namespace rkvt
