#pragma once

#include <QWidget>

#include "ui/Color.h"

namespace rkvt::ui {

// An indicator lamp: a rounded square with a dark rim, about one text line
// high so that it grows with the font and the screen scale.
class QtLamp : public QWidget {
  Q_OBJECT

 public:
  explicit QtLamp(QWidget* parent = nullptr);

  void SetLampColor(Color color);
  // The fill as painted with the current palette.
  QColor FillColor() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QRectF LampRect() const;

  Color color_ = Color::ButtonFace();
};

}  // namespace rkvt::ui
