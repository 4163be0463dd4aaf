#include "app/QtPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace rkvt {

namespace {
// Far beyond any desktop, and far from overflowing int.
constexpr qint64 kMaxCoordinate = 1'000'000;
}  // namespace

WindowPlacement FramePlacement(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  return {.top = frame.top(), .left = frame.left(), .height = frame.height(), .width = frame.width()};
}

void MoveOnScreen(QWidget& window, const WindowPlacement& placement) {
  // A monitor that has gone away must not take the window with it. The file
  // may hold any number, so the title bar point is clamped before it is made.
  const auto titleBarAt = [](int at, int into) {
    return static_cast<int>(std::clamp<qint64>(qint64{at} + into, -kMaxCoordinate, kMaxCoordinate));
  };
  const QPoint titleBar(titleBarAt(placement.left, 16), titleBarAt(placement.top, 8));
  if (QGuiApplication::screenAt(titleBar) == nullptr) return;
  window.move(placement.left, placement.top);
}

}  // namespace rkvt
