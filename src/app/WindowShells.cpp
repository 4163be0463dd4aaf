#include "app/WindowShells.h"

#include <QVBoxLayout>

#include "link/Commands.h"
#include "mainwin/TFormMain.h"

namespace rkvt {

namespace {
// The exit payload is the record's bytes 16 to 19, carried back unchanged.
constexpr std::size_t kExitPayloadAt = 16;
}  // namespace

SetupShell::SetupShell(TFormMain& form, CommandRunner& runner, ui::Beeper& beeper, QWidget* parent)
    : QDialog(parent), form_(form), runner_(runner), beeper_(beeper) {
  setObjectName(QStringLiteral("FormSetup"));
  auto* layout = new QVBoxLayout(this);
  auto* note = new QLabel(tr("Editing the modem's parameters is not available in this version.\n"
                             "The configuration record the modem sent:"),
                          this);
  record_ = new QLabel(this);
  record_->setObjectName(QStringLiteral("LabelRecord"));
  record_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  record_->setFont(QFont(QStringLiteral("Monospace")));
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("StatusBarMessages"));
  close_ = new QPushButton(tr("Close"), this);
  close_->setObjectName(QStringLiteral("ButtonClose"));
  close_->setAccessibleName(tr("Close setup window"));
  layout->addWidget(note);
  layout->addWidget(record_);
  layout->addWidget(message_);
  layout->addWidget(close_, 0, Qt::AlignRight);
  connect(close_, &QPushButton::clicked, this, [this] { CloseClicked(); });
}

void SetupShell::ShowSetup(const QString& caption, const QString& message, std::span<const std::uint8_t> record) {
  setWindowTitle(caption);
  message_->setText(message);
  QString hex;
  for (std::size_t i = 0; i < record.size(); ++i) hex += QStringLiteral("%1%2").arg(record[i], 2, 16, QLatin1Char('0')).arg(i % 13 == 12 ? "\n" : " ");
  record_->setText(hex.trimmed().toUpper());
  for (std::size_t i = 0; i < exitPayload_.size() && kExitPayloadAt + i < record.size(); ++i)
    exitPayload_[i] = record[kExitPayloadAt + i];
  close_->setText(tr("Close"));
  show();
}

void SetupShell::CloseClicked() {
  if (running_) {
    running_->Terminate();
    return;
  }
  block_.fill(0);
  std::copy(exitPayload_.begin(), exitPayload_.end(), block_.begin() + 1);
  message_->setText(QStringLiteral(" Exit modem setup ..."));
  close_->setText(tr("Stop"));
  running_ = runner_.Start({.command = command::kExitSetup,
                            .subAddress = FindCommand(command::kExitSetup)->subAddress,
                            .local = form_.TargetLocal(),
                            .block = block_,
                            .softwareLevel = form_.SoftwareLevel(),
                            .host = &form_.WorkerHost()},
                           [this] { ExitDone(); });
}

void SetupShell::ExitDone() {
  running_.reset();
  close_->setText(tr("Close"));
  const std::uint8_t result = block_[0];
  hide();
  if (result == result::kPortError) {
    // The worker has shown its port message on the main window already.
    form_.SetupClosed(ui::colors::kRed, form_.StaticTextMessages.Text());
  } else if (result == result::kSetupLeft) {
    form_.SetupClosed(ui::Color::WindowText(), QStringLiteral(" Exit modem setup OK."));
  } else if (result == result::kExitSetupStopped) {
    beeper_.Beep();
    form_.SetupClosed(ui::colors::kRed, QStringLiteral(" Exit modem setup stopped!"));
  } else {
    beeper_.Beep();
    form_.SetupClosed(ui::colors::kRed, QStringLiteral(" Exit modem setup error!"));
  }
}

}  // namespace rkvt
