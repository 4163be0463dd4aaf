#pragma once

#include <QLabel>

namespace rkvt::ui {

// A sunken, one-line text field. Its size comes from a width in characters,
// not from its text, so a long message never widens the window; a text that
// does not fit is cut with an ellipsis (the full text stays in text()).
class QtTextField : public QLabel {
  Q_OBJECT

 public:
  explicit QtTextField(int widthInChars, QWidget* parent = nullptr);

  // Width available to the text.
  int ClientWidth() const;
  // The text as it is painted now.
  QString ShownText() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect TextRect() const;

  int widthInChars_;
};

}  // namespace rkvt::ui
