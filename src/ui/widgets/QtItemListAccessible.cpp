#include "ui/widgets/QtItemListAccessible.h"

#include "ui/widgets/QtChoicePopup.h"
#include "ui/widgets/QtParamListBox.h"
#include "ui/widgets/QtReadOnlyText.h"

namespace rkvt::ui {

namespace {

// One item. Holds only the list's interface and its position, and asks the
// widget for everything, so a stale item reads as invalid, never as garbage.
class ItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface, public QtReadOnlyText {
 public:
  ItemAccessible(const QtItemListAccessible* list, int index) : list_(list), index_(index) {}

  bool isValid() const override { return list_->isValid() && index_ < list_->Items()->ItemCount(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return list_->window(); }
  QAccessibleInterface* parent() const override { return const_cast<QtItemListAccessible*>(list_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  void setText(QAccessible::Text, const QString&) override {}

  QString text(QAccessible::Text kind) const override {
    if (!isValid() || kind != QAccessible::Name) return {};
    return list_->Items()->ItemName(index_);
  }

  QRect rect() const override {
    if (!isValid()) return {};
    const QRect r = list_->Items()->ItemRect(index_);
    return QRect(list_->Widget()->mapToGlobal(r.topLeft()), r.size());
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    const QWidget* w = list_->Widget();
    s.disabled = !w->isEnabled();
    s.focusable = true;
    s.focused = w->hasFocus() && list_->Items()->CurrentItem() == index_;
    s.active = list_->Items()->CurrentItem() == index_;
    const QRect shown = w->rect();
    s.invisible = !w->isVisible();
    s.offscreen = !shown.intersects(list_->Items()->ItemRect(index_));
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return nullptr;
  }

  // A press is offered only where a click would do something.
  QStringList actionNames() const override {
    if (!isValid() || !list_->Widget()->isEnabled() || !list_->Items()->ItemPressable(index_)) return {};
    return {pressAction()};
  }
  void doAction(const QString& name) override {
    if (name == pressAction() && !actionNames().isEmpty()) list_->Items()->PressItem(index_);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  // The name as text, with the colours its parts are painted in.
  QString text(int startOffset, int endOffset) const override {
    return text(QAccessible::Name).mid(startOffset, endOffset - startOffset);
  }
  int characterCount() const override { return static_cast<int>(text(QAccessible::Name).size()); }
  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    *startOffset = 0;
    *endOffset = characterCount();
    if (!isValid()) return {};
    const QWidget* w = list_->Widget();
    const QColor background = w->palette().color(w->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Base);
    for (const AccessibleItems::ColorRun& run : list_->Items()->ItemColors(index_)) {
      if (offset < run.start || offset >= run.end) continue;
      *startOffset = run.start;
      *endOffset = run.end;
      return QStringLiteral("color:%1;background-color:%2;").arg(Rgb(run.color), Rgb(background));
    }
    return QStringLiteral("background-color:%1;").arg(Rgb(background));
  }

 private:
  const QtItemListAccessible* list_;
  int index_;
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (className == QLatin1String(QtParamListBox::staticMetaObject.className())) {
    auto* list = static_cast<QtParamListBox*>(object);
    return new QtItemListAccessible(list, list);
  }
  if (className == QLatin1String(QtChoicePopup::staticMetaObject.className())) {
    auto* popup = static_cast<QtChoicePopup*>(object);
    return new QtItemListAccessible(popup, popup);
  }
  return nullptr;
}

QtItemListAccessible* ListOf(QWidget* widget) {
  if (!QAccessible::isActive()) return nullptr;
  return dynamic_cast<QtItemListAccessible*>(QAccessible::queryAccessibleInterface(widget));
}

}  // namespace

void AccessibleItems::NotifyItemsReplaced(QWidget* widget) {
  QtItemListAccessible* list = ListOf(widget);
  if (list == nullptr) return;
  list->DropItems();
  NotifyChildrenChanged(widget);
}

void AccessibleItems::NotifyChildrenChanged(QWidget* widget) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(widget, QAccessible::ObjectReorder);
  QAccessible::updateAccessibility(&event);
}

void AccessibleItems::NotifyItemRenamed(QWidget* widget, int item) {
  QtItemListAccessible* list = ListOf(widget);
  if (list == nullptr || item < 0 || item >= list->childCount()) return;
  QAccessibleEvent event(list->child(item), QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

void AccessibleItems::NotifyCurrentItem(QWidget* widget) {
  if (!widget->hasFocus() || CurrentItem() < 0) return;
  QAccessibleEvent event(widget, QAccessible::Focus);
  event.setChild(CurrentItem());
  QAccessible::updateAccessibility(&event);
}

QtItemListAccessible::QtItemListAccessible(QWidget* widget, AccessibleItems* items)
    : QAccessibleWidget(widget, QAccessible::List), items_(items) {}

QtItemListAccessible::~QtItemListAccessible() { DropItems(); }

void QtItemListAccessible::InstallFactory() {
  static const bool installed = (QAccessible::installFactory(&Factory), true);
  Q_UNUSED(installed);
}

void QtItemListAccessible::DropItems() {
  for (QAccessible::Id id : ids_)
    if (id != 0) QAccessible::deleteAccessibleInterface(id);
  ids_.clear();
}

int QtItemListAccessible::childCount() const {
  if (!isValid()) return 0;
  return items_->ItemCount() + (items_->ShownPopup() != nullptr ? 1 : 0);
}

QAccessibleInterface* QtItemListAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  if (index == items_->ItemCount()) return QAccessible::queryAccessibleInterface(items_->ShownPopup());
  if (ids_.size() < static_cast<std::size_t>(childCount())) ids_.resize(static_cast<std::size_t>(childCount()), 0);
  QAccessible::Id& id = ids_[static_cast<std::size_t>(index)];
  if (id == 0) id = QAccessible::registerAccessibleInterface(new ItemAccessible(this, index));
  return QAccessible::accessibleInterface(id);
}

int QtItemListAccessible::indexOfChild(const QAccessibleInterface* child) const {
  if (child != nullptr && child->object() != nullptr && child->object() == items_->ShownPopup()) return items_->ItemCount();
  for (std::size_t i = 0; i < ids_.size(); ++i)
    if (ids_[i] != 0 && QAccessible::accessibleInterface(ids_[i]) == child) return static_cast<int>(i);
  return -1;
}

QAccessibleInterface* QtItemListAccessible::childAt(int x, int y) const {
  const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
  for (int i = 0; i < items_->ItemCount(); ++i)
    if (items_->ItemRect(i).contains(local)) return child(i);
  return nullptr;
}

}  // namespace rkvt::ui
