#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <functional>

namespace rkvt::test {

// What a widget really paints, for tests that must see colours on screen
// rather than in a palette.
inline QImage Painted(QWidget& widget) { return widget.grab().toImage(); }

// The darkest grey level anywhere in the image (0 black .. 255 white). Text
// stems cover whole pixels, so this is the text colour's grey level.
inline int DarkestGrey(const QImage& image) {
  int darkest = 255;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) darkest = qMin(darkest, qGray(image.pixel(x, y)));
  return darkest;
}

inline int CountPixels(const QImage& image, const std::function<bool(QColor)>& match) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += match(image.pixelColor(x, y)) ? 1 : 0;
  return count;
}

inline bool Near(QColor a, QColor b, int tolerance = 8) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

}  // namespace rkvt::test
