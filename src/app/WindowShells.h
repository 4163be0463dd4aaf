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

// Stand-in for the firmware update window: says where the update is offered
// for now and hands the main window its buttons back on Close.
class UpdateShell : public QDialog {
 public:
  explicit UpdateShell(TFormMain& form, QWidget* parent = nullptr);
  void ShowUpdate();
  // Closed by the main window (a reset): no report back.
  void CloseQuietly();

 protected:
  void reject() override;

 private:
  TFormMain& form_;
};

}  // namespace rkvt
