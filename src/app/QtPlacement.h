#pragma once

#include "support/TIni.h"

class QWidget;

namespace rkvt {

// A top-level window's outer position and size in the placement file's sense.
WindowPlacement FramePlacement(const QWidget& window);
// Moves the window there; a position on no screen is left alone.
void MoveOnScreen(QWidget& window, const WindowPlacement& placement);

}  // namespace rkvt
