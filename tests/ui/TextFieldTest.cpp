#include <gtest/gtest.h>

#include "QtTextField.h"

namespace rkvt::ui {
namespace {

TEST(TextField, LongTextIsCutForShowingButKeptWhole) {
  QtTextField field(12);
  field.resize(field.sizeHint());
  const QString longText = QStringLiteral(" Setup activated by remote terminal, please wait");
  field.setText(longText);
  EXPECT_EQ(field.text(), longText);
  EXPECT_TRUE(field.ShownText().endsWith(QChar(0x2026))) << field.ShownText().toStdString();
  EXPECT_LT(field.fontMetrics().horizontalAdvance(field.ShownText()), field.ClientWidth() + 1);
  EXPECT_GT(field.fontMetrics().horizontalAdvance(longText), field.ClientWidth());

  field.setText(QStringLiteral(" Normal"));
  EXPECT_EQ(field.ShownText(), QStringLiteral(" Normal"));
}

}  // namespace
}  // namespace rkvt::ui
