#pragma once

#include <QDialog>
#include <functional>

#include "setup/TFormSetup.h"
#include "support/TIni.h"

namespace rkvt {

namespace ui {
class QtParamListBox;
}  // namespace ui

// The setup window as Qt widgets mirroring TFormSetup's controls, its
// caption, size and visibility. A fixed-size dialog without a close box:
// Close is the one way out, so the modem is never left in setup unawares.
class QtSetupWindow : public QDialog {
  Q_OBJECT

 public:
  explicit QtSetupWindow(TFormSetup& form, QWidget* parent = nullptr);

  // Called when the window becomes the active one (hints go to it then).
  std::function<void()> OnActivate;

  WindowPlacement Placement() const;
  void ApplyPlacement(const WindowPlacement& placement);

  ui::QtParamListBox& List() { return *list_; }
  bool EverShown() const { return everShown_; }

 protected:
  bool event(QEvent* event) override;
  // Esc would hide the window behind the logic's back.
  void reject() override {}
  // The window manager's close (Alt+F4) asks for the exit like Close does.
  void closeEvent(QCloseEvent* event) override;

 private:
  void Sync();

  TFormSetup& form_;
  ui::QtParamListBox* list_;
  bool everShown_ = false;
};

}  // namespace rkvt
