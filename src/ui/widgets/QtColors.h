#pragma once

#include <QColor>
#include <QPalette>

#include "ui/Color.h"

namespace rkvt::ui {

// The colour a model names, as the given palette paints it: WindowText is the
// palette's window text, ButtonFace its button colour.
QColor ToQColor(Color color, const QPalette& palette);

// How a screen reader names a lamp colour: words, and for a fixed colour its
// value too ("dark green, #008000").
QString ColorWords(Color color);

}  // namespace rkvt::ui
