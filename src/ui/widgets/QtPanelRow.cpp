#include "ui/widgets/QtPanelRow.h"

#include <QDynamicPropertyChangeEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <algorithm>

namespace rkvt::ui {

QtPanelRow::QtPanelRow(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this)) {
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->addStretch(1);
}

void QtPanelRow::AddPanel(QWidget* panel) {
  panel->setParent(this);
  panels_.push_back(panel);
  panel->installEventFilter(this);
  Arrange();
}

bool QtPanelRow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::DynamicPropertyChange &&
      static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == "left") {
    Arrange();
  }
  return QWidget::eventFilter(watched, event);
}

void QtPanelRow::Arrange() {
  std::vector<QWidget*> order = panels_;
  std::stable_sort(order.begin(), order.end(),
                   [](QWidget* a, QWidget* b) { return a->property("left").toInt() < b->property("left").toInt(); });
  if (order == order_) return;
  order_ = order;
  for (QWidget* panel : order_) layout_->removeWidget(panel);
  // Panels first, then the stretch that keeps them packed to the left.
  for (std::size_t i = 0; i < order_.size(); ++i) layout_->insertWidget(static_cast<int>(i), order_[i], 0, Qt::AlignTop);
}

}  // namespace rkvt::ui
