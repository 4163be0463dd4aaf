#include "ui/widgets/QtParamListBox.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <cmath>
#include <utility>

#include "ui/Color.h"
#include "ui/widgets/QtChoicePopup.h"
#include "ui/widgets/QtColors.h"

namespace rkvt::ui {

namespace {
// The rows' 16 pixels and the <IND> columns are laid out for a font whose
// lines are 14 pixels high (the desktop's usual 9 point sans at 96 dpi).
constexpr double kDesignTextHeight = 14.0;
constexpr int kDesignRowHeight = 16;
constexpr int kMargin = 2;     // left of the indent
constexpr int kLabelGap = 4;   // at least this between a label and its column
constexpr int kPopupPadding = 4;

using Kind = ParamRowMarkup::Piece::Kind;
}  // namespace

QtParamListBox::QtParamListBox(QWidget* parent) : QAbstractScrollArea(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setBackgroundRole(QPalette::Base);
  QtItemListAccessible::InstallFactory();
  Relayout();
}

QtParamListBox::~QtParamListBox() { delete popup_; }

int QtParamListBox::RowHeight() const {
  return qMax(static_cast<int>(std::lround(kDesignRowHeight * layout_.scale)), fontMetrics().height() + 2);
}

int QtParamListBox::ColumnX(int x) const { return static_cast<int>(std::lround(x * layout_.scale)) + layout_.shift; }

void QtParamListBox::Relayout() {
  const QFontMetrics fm = fontMetrics();
  layout_ = Layout{};
  layout_.scale = qMax(1.0, fm.height() / kDesignTextHeight);
  const int blank = fm.horizontalAdvance(QLatin1Char(' '));
  for (const ParamRowMarkup& row : rows_) {
    int pen = kMargin + row.indent * blank;
    for (const auto& piece : row.pieces) {
      if (piece.kind == Kind::Column) {
        layout_.shift = qMax(layout_.shift, pen + kLabelGap - static_cast<int>(std::lround(piece.x * layout_.scale)));
        break;
      }
      pen += fm.horizontalAdvance(piece.text);
    }
  }
  for (const ParamRowMarkup& row : rows_) layout_.width = qMax(layout_.width, PieceStarts(row).back());
  const int rowHeight = RowHeight();
  const int visible = qMax(1, viewport()->height() / rowHeight);
  verticalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setPageStep(visible);
  verticalScrollBar()->setRange(0, qMax(0, RowCount() - visible));
  updateGeometry();
  viewport()->update();
}

void QtParamListBox::SetRows(const QStringList& markup) {
  CloseChoices();
  Hover({}, false);
  const QString currentKey = current_ >= 0 && current_ < RowCount() ? rows_[current_].key : QString();
  rows_.clear();
  for (const QString& text : markup) rows_.push_back(ParamRowMarkup::Parse(text));
  // Keyboard users stay on the parameter they were on, wherever a rebuild puts it.
  const int sameKey = currentKey.isEmpty() ? -1 : RowOfKey(currentKey);
  current_ = rows_.empty() ? -1 : sameKey >= 0 ? sameKey : qMin(current_, RowCount() - 1);
  Relayout();
  NotifyItemsReplaced(this);
  if (current_ >= 0) EnsureVisible(current_);
  HoverFromCursor();
}

QString QtParamListBox::RowMarkup(int row) const { return row >= 0 && row < RowCount() ? rows_[row].markup : QString(); }

QString QtParamListBox::RowText(int row) const { return row >= 0 && row < RowCount() ? rows_[row].PlainText() : QString(); }

int QtParamListBox::RowOfKey(const QString& key) const {
  if (key.isEmpty()) return -1;
  for (int i = 0; i < RowCount(); ++i)
    if (rows_[i].key == key) return i;
  return -1;
}

QString QtParamListBox::Value(const QString& key) const {
  const int row = RowOfKey(key);
  return row < 0 ? QString() : rows_[row].Value();
}

bool QtParamListBox::SetValue(const QString& key, const QString& value) {
  const int row = RowOfKey(key);
  if (row < 0) return false;
  rows_[row].SetValue(value);
  Relayout();
  NotifyItemRenamed(this, row);
  return true;
}

int QtParamListBox::LinkX(int row) const {
  if (row < 0 || row >= RowCount() || !rows_[row].HasLink()) return -1;
  return PieceStarts(rows_[row])[static_cast<std::size_t>(rows_[row].link)] + viewport()->x();
}

std::vector<int> QtParamListBox::PieceStarts(const ParamRowMarkup& row) const {
  const QFontMetrics fm = fontMetrics();
  std::vector<int> starts;
  int pen = kMargin + row.indent * fm.horizontalAdvance(QLatin1Char(' '));
  for (const auto& piece : row.pieces) {
    if (piece.kind == Kind::Column) pen = ColumnX(piece.x);
    starts.push_back(pen);
    if (piece.kind != Kind::Column) pen += fm.horizontalAdvance(piece.text);
  }
  starts.push_back(pen);
  return starts;
}

QRect QtParamListBox::RowRect(int row) const {
  const int rowHeight = RowHeight();
  return QRect(viewport()->x(), viewport()->y() + (row - verticalScrollBar()->value()) * rowHeight,
               viewport()->width(), rowHeight);
}

int QtParamListBox::RowAt(QPoint viewportPos) const {
  if (!viewport()->rect().contains(viewportPos)) return -1;
  const int row = viewportPos.y() / RowHeight() + verticalScrollBar()->value();
  return row < RowCount() ? row : -1;
}

// The link's target runs from its text to the row's right end: a short
// value such as "1" is still easy to hit.
bool QtParamListBox::OnLink(int row, QPoint viewportPos) const {
  const int x = LinkX(row);
  return x >= 0 && viewportPos.x() + viewport()->x() >= x;
}

bool QtParamListBox::ItemPressable(int item) const { return item >= 0 && item < RowCount() && rows_[item].HasLink(); }

std::vector<AccessibleItems::ColorRun> QtParamListBox::ItemColors(int item) const {
  if (item < 0 || item >= RowCount()) return {};
  std::pair<int, int> value;
  const int length = static_cast<int>(rows_[item].PlainText(&value).size());
  const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
  const QColor text = palette().color(group, QPalette::Text);
  const QColor link = isEnabled() ? ToQColor(colors::kGreen, palette()) : text;
  if (value.first < 0) return {{0, length, text}};
  return {{0, value.first, text}, {value.first, value.second, link}, {value.second, length, text}};
}

void QtParamListBox::Hover(QPoint viewportPos, bool inside) {
  const int row = inside && isEnabled() ? RowAt(viewportPos) : -1;
  const QString key = row >= 0 && OnLink(row, viewportPos) ? rows_[row].key : QString();
  if (row != hoverRow_) viewport()->update();
  hoverRow_ = row;
  if (key == hoverKey_) return;
  viewport()->update();
  if (key.isEmpty()) viewport()->unsetCursor();
  else viewport()->setCursor(Qt::PointingHandCursor);
  const QString left = std::exchange(hoverKey_, key);
  if (!left.isEmpty()) emit LinkLeft(left);
  if (!key.isEmpty()) emit LinkEntered(key);
}

void QtParamListBox::HoverFromCursor() {
  const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
  Hover(at, isVisible() && viewport()->underMouse() && viewport()->rect().contains(at));
}

void QtParamListBox::Activate(int row) {
  if (!isEnabled() || !ItemPressable(row)) return;
  SetCurrentRow(row);
  // Copies: a receiver may replace the rows before the next one runs.
  const QString key = rows_[row].key;
  const QString value = rows_[row].Value();
  emit LinkActivated(key, value, RowRect(row));
}

bool QtParamListBox::DropChoices(const QString& key, const QStringList& entries) {
  const int row = RowOfKey(key);
  if (row < 0 || !isEnabled()) return false;
  CloseChoices();
  EnsureVisible(row);
  if (popup_ == nullptr) {
    popup_ = new QtChoicePopup(this);
    connect(popup_, &QtChoicePopup::Picked, this,
            [this](int index, const QString& text) {
              const QString key = popupKey_;
              emit ChoicePicked(key, index, text);
            });
    connect(popup_, &QtChoicePopup::Shown, this, [this] { NotifyChildrenChanged(this); });
  }
  popupKey_ = key;
  // Named after the row's label, as a screen reader introduces it.
  std::pair<int, int> value;
  QString label = rows_[row].PlainText(&value).left(value.first).trimmed();
  if (label.endsWith(QLatin1Char(':'))) label = label.chopped(1).trimmed();
  popup_->setAccessibleName(label);
  const QRect rect = RowRect(row);
  const int x = LinkX(row) - kPopupPadding - popup_->frameWidth();
  popup_->Open(entries, static_cast<int>(entries.indexOf(rows_[row].Value())), mapToGlobal(QPoint(x, rect.bottom() + 1)),
               mapToGlobal(rect.topLeft()).y(), rect.right() + 1 - x, RowHeight());
  return true;
}

void QtParamListBox::CloseChoices() {
  if (popup_ != nullptr) popup_->close();
}

bool QtParamListBox::ChoicesShown() const { return popup_ != nullptr && popup_->isVisible(); }

QWidget* QtParamListBox::ShownPopup() const { return ChoicesShown() ? popup_.data() : nullptr; }

void QtParamListBox::SetCurrentRow(int row) {
  if (rows_.empty()) return;
  row = qBound(0, row, RowCount() - 1);
  EnsureVisible(row);
  if (row == current_) return;
  current_ = row;
  viewport()->update();
  NotifyCurrentItem(this);
}

void QtParamListBox::EnsureVisible(int row) {
  QScrollBar* bar = verticalScrollBar();
  if (row < bar->value()) bar->setValue(row);
  else if (row >= bar->value() + bar->pageStep()) bar->setValue(row - bar->pageStep() + 1);
}

QSize QtParamListBox::sizeHint() const {
  const int frame = 2 * frameWidth();
  return {layout_.width + kMargin + frame + verticalScrollBar()->sizeHint().width(),
          qMax(1, RowCount()) * RowHeight() + frame};
}

QSize QtParamListBox::minimumSizeHint() const {
  return {sizeHint().width(), 3 * RowHeight() + 2 * frameWidth()};
}

void QtParamListBox::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  for (int row = verticalScrollBar()->value(); row < RowCount(); ++row) {
    const QRect rect = RowRect(row).translated(-viewport()->pos());
    if (rect.top() >= viewport()->height()) break;
    PaintRow(painter, row, rect);
  }
  if (hasFocus() && current_ >= 0) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = RowRect(current_).translated(-viewport()->pos()).adjusted(0, 0, -1, -1);
    focus.backgroundColor = palette().color(QPalette::Base);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

void QtParamListBox::PaintRow(QPainter& painter, int row, const QRect& rect) const {
  const ParamRowMarkup& r = rows_[row];
  const bool enabled = isEnabled();
  const QPalette& pal = palette();
  const QPalette::ColorGroup group = enabled ? QPalette::Active : QPalette::Disabled;
  if (enabled && row == hoverRow_) {
    QColor hover = pal.color(QPalette::Highlight);
    hover.setAlpha(40);
    painter.fillRect(rect, hover);
  }
  const QColor text = pal.color(group, QPalette::Text);
  const QColor link = enabled ? ToQColor(colors::kGreen, pal) : text;
  const QFontMetrics fm = fontMetrics();
  const int baseline = rect.top() + (rect.height() - fm.height()) / 2 + fm.ascent();
  const std::vector<int> starts = PieceStarts(r);
  for (std::size_t i = 0; i < r.pieces.size(); ++i) {
    const auto& piece = r.pieces[i];
    if (piece.kind == Kind::Column) continue;
    const bool isLink = piece.kind == Kind::Link;
    QFont font = painter.font();
    font.setUnderline(isLink && row == hoverRow_ && r.key == hoverKey_);
    painter.setFont(font);
    painter.setPen(isLink ? link : text);
    painter.drawText(QPoint(rect.left() + starts[i], baseline), piece.text);
  }
  if (r.separator) {
    painter.setPen(pal.color(group, QPalette::Mid));
    painter.drawLine(rect.left() + kMargin, rect.bottom(), rect.right(), rect.bottom());
  }
}

void QtParamListBox::keyPressEvent(QKeyEvent* event) {
  const int page = verticalScrollBar()->pageStep();
  switch (event->key()) {
    case Qt::Key_Up: SetCurrentRow(current_ - 1); break;
    case Qt::Key_Down: SetCurrentRow(current_ + 1); break;
    case Qt::Key_Home: SetCurrentRow(0); break;
    case Qt::Key_End: SetCurrentRow(RowCount() - 1); break;
    case Qt::Key_PageUp: SetCurrentRow(current_ - page); break;
    case Qt::Key_PageDown: SetCurrentRow(current_ + page); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: Activate(current_); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
  event->accept();
}

// Mouse events come from the viewport; global positions avoid mixing up
// whose coordinates they are in.
void QtParamListBox::mouseMoveEvent(QMouseEvent* event) {
  Hover(viewport()->mapFromGlobal(event->globalPosition().toPoint()), true);
}

void QtParamListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = viewport()->mapFromGlobal(event->globalPosition().toPoint());
  const int row = RowAt(at);
  setFocus(Qt::MouseFocusReason);
  if (row >= 0) SetCurrentRow(row);
  pressedRow_ = row >= 0 && OnLink(row, at) ? row : -1;
}

void QtParamListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = viewport()->mapFromGlobal(event->globalPosition().toPoint());
  const int pressed = std::exchange(pressedRow_, -1);
  // A click is a press and a release on the same link.
  if (pressed >= 0 && RowAt(at) == pressed && OnLink(pressed, at)) Activate(pressed);
}

bool QtParamListBox::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Leave) Hover({}, false);
  return QAbstractScrollArea::viewportEvent(event);
}

void QtParamListBox::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    if (!isEnabled()) {
      CloseChoices();
      Hover({}, false);
    } else {
      HoverFromCursor();
    }
    viewport()->update();
  }
  if (event->type() == QEvent::FontChange) Relayout();
  QAbstractScrollArea::changeEvent(event);
}

void QtParamListBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
}

void QtParamListBox::scrollContentsBy(int, int) {
  viewport()->update();
  HoverFromCursor();
}

void QtParamListBox::focusInEvent(QFocusEvent* event) {
  // Arriving by keyboard lands on the first value link, not the header.
  if (current_ < 0) {
    int first = 0;
    while (first < RowCount() && !rows_[first].HasLink()) ++first;
    if (first < RowCount()) current_ = first;
  }
  viewport()->update();
  QAbstractScrollArea::focusInEvent(event);
  NotifyCurrentItem(this);
}

void QtParamListBox::focusOutEvent(QFocusEvent* event) {
  viewport()->update();
  QAbstractScrollArea::focusOutEvent(event);
}

}  // namespace rkvt::ui
