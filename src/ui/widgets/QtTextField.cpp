#include "ui/widgets/QtTextField.h"

#include <QPainter>
#include <QStyle>

#include "ui/widgets/QtTextFieldAccessible.h"

namespace rkvt::ui {

namespace {
constexpr int kPadding = 3;  // between the frame and the text, in pixels at 100 %
}

QtTextField::QtTextField(int widthInChars, QWidget* parent) : QLabel(parent), widthInChars_(widthInChars) {
  setTextFormat(Qt::PlainText);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setAutoFillBackground(true);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  QtTextFieldAccessible::InstallFactory();
}

QRect QtTextField::TextRect() const { return contentsRect().adjusted(kPadding, 0, -kPadding, 0); }

int QtTextField::ClientWidth() const { return TextRect().width(); }

QString QtTextField::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideRight, qMax(0, ClientWidth()));
}

QSize QtTextField::sizeHint() const {
  const QFontMetrics fm = fontMetrics();
  const int frame = 2 * frameWidth();
  return {widthInChars_ * fm.averageCharWidth() + 2 * kPadding + frame, fm.height() + 2 * kPadding + frame};
}

QSize QtTextField::minimumSizeHint() const {
  const QSize hint = sizeHint();
  return {qMin(hint.width(), 4 * fontMetrics().averageCharWidth() + 2 * kPadding), hint.height()};
}

void QtTextField::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawFrame(&painter);
  style()->drawItemText(&painter, TextRect(), static_cast<int>(alignment()), palette(), isEnabled(), ShownText(),
                        foregroundRole());
}

}  // namespace rkvt::ui
