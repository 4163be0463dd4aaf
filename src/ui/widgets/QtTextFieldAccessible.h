#pragma once

#include <QAccessibleWidget>

namespace rkvt::ui {

class QtTextField;

// What a screen reader or a test driver gets from a text field: its name,
// its whole text (not the elided one) and the colours it is painted in,
// as text attributes (on AT-SPI "fg-color" and "bg-color", "r,g,b").
class QtTextFieldAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit QtTextFieldAccessible(QtTextField* field);

  // Registered once, by the first text field made.
  static void InstallFactory();

  void* interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text kind) const override;

  QString text(int startOffset, int endOffset) const override;
  int characterCount() const override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

  // Read-only, one line, no caret: the rest has nothing to do.
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

 private:
  QtTextField* Field() const;
};

}  // namespace rkvt::ui
