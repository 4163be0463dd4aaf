#include "ui/widgets/QtLamp.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/widgets/QtColors.h"

namespace rkvt::ui {

QtLamp::QtLamp(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void QtLamp::SetLampColor(Color color) {
  if (color_ == color) return;
  color_ = color;
  update();
}

QColor QtLamp::FillColor() const { return ToQColor(color_, palette()); }

QSize QtLamp::sizeHint() const {
  const int side = qMax(12, fontMetrics().height());
  return {side, side};
}

QSize QtLamp::minimumSizeHint() const { return sizeHint(); }

QRectF QtLamp::LampRect() const {
  const qreal side = qMin(width(), height());
  QRectF square((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  // Half a pixel in, so the rim falls on whole device pixels.
  return square.adjusted(1.0, 1.0, -1.0, -1.0);
}

void QtLamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF r = LampRect();
  const qreal radius = r.width() * 0.22;
  const QColor fill = isEnabled() ? FillColor() : palette().color(QPalette::Disabled, QPalette::Button);

  // Lighter at the top, the true colour across the middle: reads as a lit
  // lens rather than a flat swatch, and the centre still shows the colour.
  QLinearGradient shade(r.topLeft(), r.bottomLeft());
  shade.setColorAt(0.0, fill.lighter(150));
  shade.setColorAt(0.45, fill);
  shade.setColorAt(0.55, fill);
  shade.setColorAt(1.0, fill.darker(115));

  QPainterPath lamp;
  lamp.addRoundedRect(r, radius, radius);
  painter.fillPath(lamp, shade);
  painter.setPen(QPen(QColor(0x30, 0x30, 0x30), qMax<qreal>(1.0, r.width() / 14.0)));
  painter.drawPath(lamp);
}

void QtLamp::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange) update();
  if (event->type() == QEvent::FontChange) updateGeometry();
  QWidget::changeEvent(event);
}

}  // namespace rkvt::ui
