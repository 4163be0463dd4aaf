#pragma once

#include <QWidget>
#include <vector>

class QHBoxLayout;

namespace rkvt::ui {

// Panels side by side, ordered by their designed left edge (the property
// "left" that the group box binder sets), then by the order they were added.
// So panels that share a left edge take turns in one place, and a panel
// moved further right appears after the others.
class QtPanelRow : public QWidget {
  Q_OBJECT

 public:
  explicit QtPanelRow(QWidget* parent = nullptr);

  void AddPanel(QWidget* panel);
  // The panels in their current order, hidden ones included.
  std::vector<QWidget*> Order() const { return order_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Arrange();

  QHBoxLayout* layout_;
  std::vector<QWidget*> panels_;  // in the order added
  std::vector<QWidget*> order_;
};

}  // namespace rkvt::ui
