#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

#include "ui/widgets/QtItemListAccessible.h"

namespace rkvt::ui {

// The choice list a value link drops down: a popup window of entries.
// Up/Down/Home/End/PageUp/PageDown move, Enter, Space or a click picks,
// Esc or a click outside closes it without a choice. Entries are
// accessible items; pressing one picks it. Picking closes the popup.
class QtChoicePopup : public QAbstractScrollArea, public AccessibleItems {
  Q_OBJECT

 public:
  explicit QtChoicePopup(QWidget* owner);

  // Shows the entries with `current` marked, its top left corner at
  // `below` (global), at least `minWidth` wide; above `above` (global y)
  // instead when the screen has no room below.
  void Open(const QStringList& entries, int current, QPoint below, int above, int minWidth, int rowHeight);

  const QStringList& Entries() const { return entries_; }
  int Current() const { return current_; }

  int ItemCount() const override { return static_cast<int>(entries_.size()); }
  QString ItemName(int item) const override { return entries_.value(item); }
  QRect ItemRect(int item) const override;
  bool ItemPressable(int item) const override { return item >= 0 && item < ItemCount(); }
  void PressItem(int item) override { Pick(item); }
  int CurrentItem() const override { return current_; }
  std::vector<ColorRun> ItemColors(int item) const override;

 signals:
  void Picked(int index, const QString& text);
  // Shown or hidden.
  void Shown(bool shown);

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int EntryAt(QPoint viewportPos) const;
  void SetCurrent(int index);
  void Pick(int index);
  int VisibleRows() const;

  QStringList entries_;
  int current_ = -1;
  int rowHeight_ = 16;
  bool pressedInside_ = false;
};

}  // namespace rkvt::ui
