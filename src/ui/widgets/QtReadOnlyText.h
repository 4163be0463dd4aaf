#pragma once

#include <QAccessible>
#include <QColor>
#include <QString>

namespace rkvt::ui {

// The text side of a read-only, one-line accessible with no caret: only the
// text and its colour attributes differ between the ones we have.
class QtReadOnlyText : public QAccessibleTextInterface {
 public:
  void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}

 protected:
  // A colour as the "color" and "background-color" attributes give it.
  static QString Rgb(const QColor& color) {
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
  }
};

}  // namespace rkvt::ui
