#pragma once

#include <QAccessibleWidget>

#include "ui/widgets/QtReadOnlyText.h"

namespace rkvt::ui {

class QtTextField;

// What a screen reader or a test driver gets from a text field: its name,
// its whole text (not the elided one) and the colours it is painted in,
// as text attributes (on AT-SPI "fg-color" and "bg-color", "r,g,b").
class QtTextFieldAccessible : public QAccessibleWidget, public QtReadOnlyText {
 public:
  explicit QtTextFieldAccessible(QtTextField* field);

  // Registered once, by the first text field made.
  static void InstallFactory();

  void* interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text kind) const override;

  QString text(int startOffset, int endOffset) const override;
  int characterCount() const override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

 private:
  QtTextField* Field() const;
};

}  // namespace rkvt::ui
