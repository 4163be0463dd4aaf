#include "ui/widgets/QtChoicePopup.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <utility>

namespace rkvt::ui {

namespace {
constexpr int kMaxVisibleRows = 12;  // longer lists scroll (the time-slot lists have 31 entries)
constexpr int kTextPadding = 4;
}  // namespace

QtChoicePopup::QtChoicePopup(QWidget* owner) : QAbstractScrollArea(owner) {
  setWindowFlags(Qt::Popup);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  QtItemListAccessible::InstallFactory();
}

int QtChoicePopup::VisibleRows() const { return qBound(1, static_cast<int>(entries_.size()), kMaxVisibleRows); }

void QtChoicePopup::Open(const QStringList& entries, int current, QPoint below, int above, int minWidth,
                         int rowHeight) {
  entries_ = entries;
  rowHeight_ = rowHeight;
  current_ = entries.isEmpty() ? -1 : qBound(0, current, static_cast<int>(entries.size()) - 1);
  pressedInside_ = false;
  setFont(parentWidget()->font());

  int width = minWidth;
  for (const QString& entry : entries)
    width = qMax(width, fontMetrics().horizontalAdvance(entry) + 2 * kTextPadding + 2 * frameWidth());
  const bool scrolls = entries.size() > kMaxVisibleRows;
  if (scrolls) width += verticalScrollBar()->sizeHint().width();
  setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  verticalScrollBar()->setRange(0, qMax(0, static_cast<int>(entries.size()) - kMaxVisibleRows));
  verticalScrollBar()->setPageStep(kMaxVisibleRows);
  const QSize size(width, VisibleRows() * rowHeight_ + 2 * frameWidth());

  QPoint at = below;
  if (const QScreen* screen = parentWidget()->screen()) {
    const QRect room = screen->availableGeometry();
    if (at.y() + size.height() > room.bottom() && above - size.height() >= room.top()) at.setY(above - size.height());
    at.setX(qBound(room.left(), at.x(), qMax(room.left(), room.right() - size.width())));
  }
  setGeometry(QRect(at, size));
  if (current_ >= 0) verticalScrollBar()->setValue(current_ - VisibleRows() / 2);
  NotifyItemsReplaced(this);
  show();
  setFocus(Qt::PopupFocusReason);
  NotifyCurrentItem(this);
}

QRect QtChoicePopup::ItemRect(int item) const {
  const QRect inViewport(0, (item - verticalScrollBar()->value()) * rowHeight_, viewport()->width(), rowHeight_);
  return inViewport.translated(viewport()->pos());
}

std::vector<AccessibleItems::ColorRun> QtChoicePopup::ItemColors(int item) const {
  const bool marked = item == current_;
  return {{0, static_cast<int>(ItemName(item).size()),
           palette().color(marked ? QPalette::HighlightedText : QPalette::Text)}};
}

int QtChoicePopup::EntryAt(QPoint viewportPos) const {
  if (!viewport()->rect().contains(viewportPos)) return -1;
  const int index = viewportPos.y() / rowHeight_ + verticalScrollBar()->value();
  return index < ItemCount() ? index : -1;
}

void QtChoicePopup::SetCurrent(int index) {
  if (entries_.isEmpty()) return;
  index = qBound(0, index, ItemCount() - 1);
  if (index == current_) return;
  current_ = index;
  QScrollBar* bar = verticalScrollBar();
  if (index < bar->value()) bar->setValue(index);
  if (index >= bar->value() + VisibleRows()) bar->setValue(index - VisibleRows() + 1);
  viewport()->update();
  NotifyCurrentItem(this);
}

void QtChoicePopup::Pick(int index) {
  if (index < 0 || index >= ItemCount() || !isVisible()) return;
  const QString text = entries_[index];
  close();
  emit Picked(index, text);
}

void QtChoicePopup::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QPalette& pal = palette();
  painter.fillRect(viewport()->rect(), pal.color(QPalette::Base));
  for (int i = verticalScrollBar()->value(); i < ItemCount(); ++i) {
    const QRect row = ItemRect(i).translated(-viewport()->pos());
    if (row.top() > viewport()->height()) break;
    if (i == current_) painter.fillRect(row, pal.color(QPalette::Highlight));
    painter.setPen(pal.color(i == current_ ? QPalette::HighlightedText : QPalette::Text));
    painter.drawText(row.adjusted(kTextPadding, 0, -kTextPadding, 0), Qt::AlignLeft | Qt::AlignVCenter, entries_[i]);
  }
}

void QtChoicePopup::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up: SetCurrent(current_ - 1); break;
    case Qt::Key_Down: SetCurrent(current_ + 1); break;
    case Qt::Key_Home: SetCurrent(0); break;
    case Qt::Key_End: SetCurrent(ItemCount() - 1); break;
    case Qt::Key_PageUp: SetCurrent(current_ - VisibleRows()); break;
    case Qt::Key_PageDown: SetCurrent(current_ + VisibleRows()); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: Pick(current_); break;
    case Qt::Key_Escape: close(); break;
    default: event->ignore(); return;
  }
  event->accept();
}

void QtChoicePopup::mouseMoveEvent(QMouseEvent* event) {
  const int index = EntryAt(event->position().toPoint());
  if (index >= 0) SetCurrent(index);
}

// A scroll area drops mouse events that are not its viewport's; a press
// outside the popup comes here, and QWidget's handler closes the popup.
bool QtChoicePopup::event(QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    pressedInside_ = false;
    QWidget::mousePressEvent(static_cast<QMouseEvent*>(event));
    return true;
  }
  return QAbstractScrollArea::event(event);
}

void QtChoicePopup::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  emit Shown(true);
}

void QtChoicePopup::hideEvent(QHideEvent* event) {
  QAbstractScrollArea::hideEvent(event);
  emit Shown(false);
}

void QtChoicePopup::mousePressEvent(QMouseEvent*) { pressedInside_ = true; }

void QtChoicePopup::mouseReleaseEvent(QMouseEvent* event) {
  // Only a press-and-release on an entry picks: the release of the click
  // that opened the list must not. Positions are the viewport's.
  if (!std::exchange(pressedInside_, false) || event->button() != Qt::LeftButton) return;
  Pick(EntryAt(event->position().toPoint()));
}

}  // namespace rkvt::ui
