#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <memory>

#include "link/CommandRunner.h"
#include "mainwin/TFormMain.h"
#include "ui/Dialogs.h"

namespace rkvt {

class TFormMain;

// Stand-in for the setup window until its parameter list exists: shows the
// configuration record the modem sent and leaves setup properly, so the
// modem is never left in setup and the main window gets its buttons back.
class SetupShell : public QDialog {
 public:
  SetupShell(TFormMain& form, CommandRunner& runner, ui::Beeper& beeper, QWidget* parent = nullptr);

  void ShowSetup(const QString& caption, const QString& message, std::span<const std::uint8_t> record);

 protected:
  void reject() override { CloseClicked(); }

 private:
  void CloseClicked();
  void ExitDone();

  TFormMain& form_;
  CommandRunner& runner_;
  ui::Beeper& beeper_;
  std::array<std::uint8_t, kExchangeBlockSize> block_{};
  std::array<std::uint8_t, 4> exitPayload_{};
  std::unique_ptr<RunningCommand> running_;
  QLabel* message_;
  QLabel* record_;
  QPushButton* close_;
};

}  // namespace rkvt
