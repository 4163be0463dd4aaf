#pragma once

#include "mainwin/MainWindowControls.h"

namespace rkvt {

// The long hints of the main window's controls, set once when the window is
// built, as a form designer would. The hint routing shows them on the
// status line.
void ApplyMainWindowHints(MainWindowControls& controls);

}  // namespace rkvt
