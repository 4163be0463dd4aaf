#pragma once

#include <QMainWindow>
#include <functional>
#include <optional>

#include "mainwin/MainWindowControls.h"
#include "support/TIni.h"

class QGroupBox;
class QPushButton;

namespace rkvt {

namespace ui {
class QtPanelRow;
class QtTextField;
}  // namespace ui

// The main window as Qt widgets: every control mirrors its model in
// MainWindowControls and reports clicks back to it. Nothing here decides.
class QtMainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit QtMainWindow(MainWindowControls& controls, QWidget* parent = nullptr);

  // Called when the window becomes the active one (hints go to it then).
  std::function<void()> OnActivate;

  void SetCaption(const QString& caption) { setWindowTitle(caption); }

  // Outer position and size in the placement file's sense.
  WindowPlacement Placement() const;
  // Moves the window there; a position on no screen is left alone.
  void ApplyPlacement(const WindowPlacement& placement);

  // The whole state or status text as a tooltip when its field is too narrow
  // for it; nothing for other widgets or texts that fit.
  std::optional<QString> FullTextTooltip(QWidget* widget) const;


 protected:
  bool event(QEvent* event) override;

 private:
  QGroupBox* BuildTargetGroup();
  QGroupBox* BuildStateGroup();
  void BuildPanels();
  QGroupBox* BuildStatisticsGroup();
  QGroupBox* BuildTestsGroup();
  void BuildBottom(QWidget* central);
  void SetTabOrder();

  MainWindowControls& c_;
  ui::QtPanelRow* panelRow_ = nullptr;
  ui::QtTextField* stateField_ = nullptr;
  ui::QtTextField* statusText_ = nullptr;
};

}  // namespace rkvt
