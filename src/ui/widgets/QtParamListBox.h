#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <QStringList>
#include <vector>

#include "ui/widgets/ParamRowMarkup.h"
#include "ui/widgets/QtChoicePopup.h"
#include "ui/widgets/QtItemListAccessible.h"

namespace rkvt::ui {

// The parameter list: rows in a small markup (ParamRowMarkup), value links
// drawn green and underlined under the pointer, a separator under <HR> rows,
// the row under the pointer highlighted. The list decides nothing: a click,
// Enter or Space on a link, or a link row's accessible press, reports the
// link; the owner then flips the value (SetValue) or drops a choice list
// under the row (DropChoices) and hears which entry was picked.
//
// Rows are 16 pixels high and the <IND> columns at their design positions
// for the usual desktop font; a larger font scales both, and a label too
// long for its column moves every column right, so columns line up always.
// Disabled: greyed, no hover, no clicks, no choice list.
class QtParamListBox : public QAbstractScrollArea, public AccessibleItems {
  Q_OBJECT

 public:
  explicit QtParamListBox(QWidget* parent = nullptr);
  ~QtParamListBox() override;

  // Replaces every row; closes an open choice list.
  void SetRows(const QStringList& markup);
  int RowCount() const { return static_cast<int>(rows_.size()); }
  // The row's markup with its current value text.
  QString RowMarkup(int row) const;
  // The row as read aloud: "Interface : P2 Sync".
  QString RowText(int row) const;
  // The row carrying the link `key`, or -1.
  int RowOfKey(const QString& key) const;
  // The value text of `key`; empty when no row carries it.
  QString Value(const QString& key) const;
  // Sets the value text of `key`; false (and nothing changes) when no row carries it.
  bool SetValue(const QString& key, const QString& value);

  // Drops a list of `entries` under the row of `key`, the entry equal to the
  // row's value marked. False when no row carries the key or the list is disabled.
  bool DropChoices(const QString& key, const QStringList& entries);
  void CloseChoices();
  bool ChoicesShown() const;
  QtChoicePopup* Choices() const { return popup_; }

  int CurrentRow() const { return current_; }
  void SetCurrentRow(int row);
  int RowHeight() const;
  // The row's rectangle in this widget's coordinates.
  QRect RowRect(int row) const;
  // Where the row's link starts, in this widget's coordinates (-1: no link).
  int LinkX(int row) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  int ItemCount() const override { return RowCount(); }
  QString ItemName(int item) const override { return RowText(item); }
  QRect ItemRect(int item) const override { return RowRect(item); }
  bool ItemPressable(int item) const override;
  void PressItem(int item) override { Activate(item); }
  int CurrentItem() const override { return current_; }
  std::vector<ColorRun> ItemColors(int item) const override;
  QWidget* ShownPopup() const override;

 signals:
  // A link was clicked or pressed; `rowRect` is its row in this widget's coordinates.
  void LinkActivated(const QString& key, const QString& value, const QRect& rowRect);
  // An entry of the list dropped for `key` was picked.
  void ChoicePicked(const QString& key, int index, const QString& text);
  // The pointer came to rest on / left the link of `key`. Always in pairs.
  void LinkEntered(const QString& key);
  void LinkLeft(const QString& key);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  struct Layout {
    double scale = 1.0;
    int shift = 0;  // added to every column so the longest label fits before it
    int width = 0;  // of the widest row
  };

  void Relayout();
  int ColumnX(int x) const;
  // Where each piece of the row starts, in the viewport; last, where the row ends.
  std::vector<int> PieceStarts(const ParamRowMarkup& row) const;
  int RowAt(QPoint viewportPos) const;
  bool OnLink(int row, QPoint viewportPos) const;
  void Hover(QPoint viewportPos, bool inside);
  void HoverFromCursor();
  void Activate(int row);
  void EnsureVisible(int row);
  void PaintRow(QPainter& painter, int row, const QRect& rect) const;

  std::vector<ParamRowMarkup> rows_;
  Layout layout_;
  int current_ = -1;
  int hoverRow_ = -1;
  QString hoverKey_;
  int pressedRow_ = -1;
  QPointer<QtChoicePopup> popup_;
  QString popupKey_;
};

}  // namespace rkvt::ui
