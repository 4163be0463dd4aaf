#pragma once

#include "support/TIni.h"

class QWidget;

namespace rkvt {

// Outer position and size of a window in the placement file's sense.
WindowPlacement PlacementOf(const QWidget& window);
// Moves the window there; a position on no screen is left alone.
void MoveToPlacement(QWidget& window, const WindowPlacement& placement);

}  // namespace rkvt
