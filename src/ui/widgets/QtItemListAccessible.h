#pragma once

#include <QAccessibleWidget>
#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

namespace rkvt::ui {

// A widget that paints its own rows and offers them to accessibility
// clients as items: a name, a place, the colours the name is painted in, and
// for some items a press that does what a click does.
class AccessibleItems {
 public:
  struct ColorRun {
    int start;
    int end;
    QColor color;
  };

  virtual int ItemCount() const = 0;
  virtual QString ItemName(int item) const = 0;
  virtual QRect ItemRect(int item) const = 0;  // in the widget's own coordinates
  virtual bool ItemPressable(int item) const = 0;
  virtual void PressItem(int item) = 0;
  virtual int CurrentItem() const = 0;  // -1 for none
  virtual std::vector<ColorRun> ItemColors(int item) const = 0;
  // A popup shown for the items; clients find it as the last child, since
  // they do not look for popup windows among the application's windows.
  virtual QWidget* ShownPopup() const { return nullptr; }

  // Tells clients that the items were replaced or renamed.
  void NotifyItemsReplaced(QWidget* widget);
  void NotifyItemRenamed(QWidget* widget, int item);
  void NotifyCurrentItem(QWidget* widget);
  static void NotifyChildrenChanged(QWidget* widget);

 protected:
  ~AccessibleItems() = default;
};

// The widget as a list whose children are its items. Registered for the
// widget classes that implement AccessibleItems.
class QtItemListAccessible : public QAccessibleWidget {
 public:
  QtItemListAccessible(QWidget* widget, AccessibleItems* items);
  ~QtItemListAccessible() override;

  static void InstallFactory();

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

  AccessibleItems* Items() const { return items_; }
  QWidget* Widget() const { return widget(); }
  // Forgets the item interfaces, so clients ask again.
  void DropItems();

 private:
  AccessibleItems* items_;
  mutable std::vector<QAccessible::Id> ids_;
};

}  // namespace rkvt::ui
