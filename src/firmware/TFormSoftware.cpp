#include "firmware/TFormSoftware.h"

#include <array>
#include <QDir>
#include <QFileInfo>
#include <chrono>
#include <optional>

#include "firmware/ImageFile.h"
#include "link/Commands.h"
#include "link/ProtocolHost.h"
#include "support/TIni.h"

namespace rkvt {

namespace {

enum class Sw : std::uint8_t { Keep, Off, On };
enum class Tone : std::uint8_t { Keep, Normal, Red };

struct UpdateUiRow {
  UpdateUiState state;
  bool emptyFields = false;  // file and version field
  Tone fileField = Tone::Keep;
  Tone message = Tone::Keep;
  bool emptyMessage = false;
  Sw load = Sw::Keep;      // "..."
  Sw transmit = Sw::Keep;  // Update button and progress bar together
  bool fieldsOff = false;  // LabelFileName, file and version field
};

using S = UpdateUiState;
constexpr std::array<UpdateUiRow, kUpdateUiStateCount> kUpdateUiStates{{
    {.state = S::UpdateIdle, .emptyFields = true, .fileField = Tone::Normal, .message = Tone::Normal,
     .emptyMessage = true, .transmit = Sw::Off},
    {.state = S::ImageReady, .transmit = Sw::On},
    {.state = S::ImageRejected, .fileField = Tone::Red, .message = Tone::Red},
    {.state = S::UpdateRunning, .load = Sw::Off},
    {.state = S::UpdateDone, .load = Sw::On},
    {.state = S::UpdateEraseFailed, .load = Sw::On},
    {.state = S::UpdateWriteFailed, .load = Sw::On},
    {.state = S::UpdateStopped, .load = Sw::On},
    // A port that failed under the transfer: locked until the program ends.
    {.state = S::UpdatePortFailed, .emptyFields = true, .message = Tone::Red, .load = Sw::Off, .transmit = Sw::Off,
     .fieldsOff = true},
}};

constexpr bool RowsInOrder() {
  for (int i = 0; i < kUpdateUiStateCount; ++i)
    if (static_cast<int>(kUpdateUiStates[i].state) != i) return false;
  return true;
}
static_assert(RowsInOrder(), "one row per UI state, in the order of their numbers");

// The only state that locks must never give back what it took.
static_assert(kUpdateUiStates[8].load == Sw::Off && kUpdateUiStates[8].transmit == Sw::Off);

struct ResultRow {
  std::uint8_t code;
  UpdateUiState state;
  const char* message;  // nullptr: the worker has shown its own text
};

constexpr ResultRow kResults[] = {
    {result::kUpdatedViaLoader, S::UpdateDone, " Update software OK."},
    {result::kUpdatedViaFirmware, S::UpdateDone, " Update software OK."},
    {result::kEraseFailed, S::UpdateEraseFailed, " Update software error !"},
    {result::kWriteFailed, S::UpdateWriteFailed, " Update software error !"},
    {result::kUpdateStopped, S::UpdateStopped, " Update software stopped !"},
    {result::kPortError, S::UpdatePortFailed, nullptr},
};

static_assert(EveryResultCovered(std::array{command::kUpdateViaLoader, command::kUpdateViaFirmware},
                                 [](std::uint8_t r) {
                                   for (const ResultRow& row : kResults)
                                     if (row.code == r) return true;
                                   return false;
                                 }),
              "a result of a transfer has no row");

const ResultRow* FindResultRow(std::uint8_t code) {
  for (const ResultRow& row : kResults)
    if (row.code == code) return &row;
  return nullptr;
}

ui::Color ToneColor(Tone tone) { return tone == Tone::Red ? ui::colors::kRed : ui::Color::WindowText(); }

void Switch(ui::Control& control, Sw sw) {
  if (sw != Sw::Keep) control.SetEnabled(sw == Sw::On);
}

const QString kWritingText = QStringLiteral(" Update software ...");

std::int64_t SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

// The worker's synchronised calls land here, on the user-interface thread.
class TFormSoftware::Host : public ProtocolHost {
 public:
  explicit Host(TFormSoftware& form) : form_(form) {}

  void ShowStatusText(const QString& text) override {
    form_.StaticTextMessage.SetText(text);
    form_.writing_ = text == kWritingText;
    if (form_.writing_) form_.estimate_.Begin(form_.now_(), 0);
    form_.ProgressBar.SetText(form_.writing_ ? form_.estimate_.Text(form_.now_(), 0) : QString());
  }
  void ShowProgress(int progress) override {
    form_.ProgressBar.SetPosition(progress);
    if (form_.writing_) form_.ProgressBar.SetText(form_.estimate_.Text(form_.now_(), progress));
  }
  void Beep() override { form_.beeper_.Beep(); }

 private:
  TFormSoftware& form_;
};

TFormSoftware::TFormSoftware(CommandRunner& runner, ui::Beeper& beeper, ui::FileOpenDialog& dialog, TIni& ini,
                             MsClock now)
    : runner_(runner),
      beeper_(beeper),
      dialog_(dialog),
      ini_(ini),
      now_(now ? std::move(now) : MsClock(SteadyMs)),
      host_(std::make_unique<Host>(*this)) {
  ButtonLoadSoftwareModem.OnClick = [this] { ButtonLoadSoftwareModemClick(); };
  ButtonTransmitSoftwareModem.OnClick = [this] { ButtonTransmitSoftwareModemClick(); };
}

// A transfer still running is stopped by dropping its handle, before the
// result area, the image and the host go away.
TFormSoftware::~TFormSoftware() { running_.reset(); }

void TFormSoftware::SetUpdateUiState(UpdateUiState state) {
  const int index = static_cast<int>(state);
  if (index < 0 || index >= kUpdateUiStateCount) return;
  const UpdateUiRow& row = kUpdateUiStates[index];
  if (row.emptyFields) {
    StaticTextSoftwareModem.SetText(QString());
    StaticTextSoftwareModemVersionSoftware.SetText(QString());
  }
  if (row.fileField != Tone::Keep) StaticTextSoftwareModem.SetFontColor(ToneColor(row.fileField));
  if (row.message != Tone::Keep) StaticTextMessage.SetFontColor(ToneColor(row.message));
  if (row.emptyMessage) StaticTextMessage.SetText(QString());
  Switch(ButtonLoadSoftwareModem, row.load);
  Switch(ButtonTransmitSoftwareModem, row.transmit);
  Switch(ProgressBar, row.transmit);
  if (row.fieldsOff) {
    for (ui::Control* c : std::initializer_list<ui::Control*>{&LabelFileName, &StaticTextSoftwareModem,
                                                              &StaticTextSoftwareModemVersionSoftware})
      c->SetEnabled(false);
  }
}

bool TFormSoftware::ValidateWithEffects() {
  SetUpdateUiState(UpdateUiState::UpdateIdle);
  const ImageValidation checked = ValidateImageFile(fileName_, SoftwareLevel(), image_);
  if (checked.ok) {
    StaticTextSoftwareModem.SetText(QLatin1Char(' ') + shortName_);
    StaticTextSoftwareModemVersionSoftware.SetText(checked.version);
    SetUpdateUiState(UpdateUiState::ImageReady);
    return true;
  }
  beeper_.Beep();
  StaticTextMessage.SetText(checked.message);
  SetUpdateUiState(UpdateUiState::ImageRejected);
  return false;
}

void TFormSoftware::ButtonLoadSoftwareModemClick() {
  QString directory = QDir::currentPath();
  QString name;
  if (ini_.Available()) {
    const QString section = QString::fromLatin1(kSection);
    directory = ini_.ReadString(section, QString::fromLatin1(kDirectoryKey), directory);
    name = ini_.ReadString(section, QString::fromLatin1(kFileNameKey), QString());
  }
  const std::optional<QString> chosen = dialog_.Open(directory, name);
  if (!chosen) return;
  TakeFile(*chosen);
}

bool TFormSoftware::FileDropped(const QString& fullPath) {
  if (!ButtonLoadSoftwareModem.Enabled() || running_) return false;
  TakeFile(fullPath);
  return true;
}

void TFormSoftware::TakeFile(const QString& fullPath) {
  const QFileInfo file(fullPath);
  fileName_ = fullPath;
  shortName_ = file.fileName();
  ValidateWithEffects();
  // Remembered whether the file passed or not: the next dialog opens there.
  if (ini_.Available()) {
    const QString section = QString::fromLatin1(kSection);
    ini_.WriteString(section, QString::fromLatin1(kDirectoryKey), QDir::toNativeSeparators(file.absolutePath()));
    ini_.WriteString(section, QString::fromLatin1(kFileNameKey), shortName_);
  }
}

void TFormSoftware::ButtonTransmitSoftwareModemClick() {
  // While a transfer runs the button reads "Stop" and stops it.
  if (running_) {
    running_->Terminate();
    return;
  }
  if (fileName_.isEmpty()) {
    StaticTextMessage.SetText(QStringLiteral(" No file software!"));
    SetUpdateUiState(UpdateUiState::ImageRejected);
    beeper_.Beep();
    return;
  }
  // Read anew: the file may have changed since it was chosen.
  if (!ValidateWithEffects()) return;
  StaticTextMessage.SetText(kWritingText);
  TellTransferRunning(true);
  ProgressBar.SetPosition(0);
  const bool working = FormMain.workingFirmware && FormMain.workingFirmware();
  writing_ = false;
  running_ = runner_.Start({.command = working ? command::kUpdateViaFirmware : command::kUpdateViaLoader,
                            .subAddress = 1,
                            .local = true,
                            .block = resultArea_,
                            .softwareLevel = SoftwareLevel(),
                            .host = host_.get(),
                            .image = image_.Bytes()},
                           [this] { ResultHandler(); });
  SetUpdateUiState(UpdateUiState::UpdateRunning);
  ButtonTransmitSoftwareModem.SetCaption(QStringLiteral("Stop"));
}

void TFormSoftware::ResultHandler() {
  if (const ResultRow* row = FindResultRow(resultArea_[0])) {
    SetUpdateUiState(row->state);
    ProgressBar.SetPosition(0);
    if (row->message != nullptr) StaticTextMessage.SetText(QString::fromLatin1(row->message));
  }
  resultArea_.fill(0);
  running_.reset();
  writing_ = false;
  ProgressBar.SetText(QString());
  ButtonTransmitSoftwareModem.SetCaption(QStringLiteral("Update"));
  TellTransferRunning(false);
  if (std::exchange(closedWhileRunning_, false) && FormMain.updateWindowClosed) FormMain.updateWindowClosed();
}

void TFormSoftware::TellTransferRunning(bool running) {
  if (FormMain.firmwareTransferRunning) FormMain.firmwareTransferRunning(running);
}

void TFormSoftware::FormShow() {
  closedByMainWindow_ = false;
  closedWhileRunning_ = false;
  SetUpdateUiState(UpdateUiState::UpdateIdle);
}

void TFormSoftware::FormCloseQuery() {
  if (closedByMainWindow_) return;
  if (running_) {
    closedWhileRunning_ = true;
    return;
  }
  if (FormMain.updateWindowClosed) FormMain.updateWindowClosed();
}

}  // namespace rkvt
