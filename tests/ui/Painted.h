#pragma once
// What a widget really paints, for colours on screen rather than in a palette.
#include <QImage>
#include <QWidget>
#include <vector>

namespace rkvt::ui {

inline std::vector<QColor> Painted(QWidget& widget) {
  const QImage image = widget.grab().toImage();
  std::vector<QColor> pixels;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) pixels.push_back(image.pixelColor(x, y));
  return pixels;
}

}  // namespace rkvt::ui
