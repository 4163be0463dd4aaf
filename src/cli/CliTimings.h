#pragma once

#include "link/LinkTimings.h"

namespace rkvt::cli {

// --fast-timeouts: short enough that a silent modem costs a test little, long enough for a pty.
inline constexpr LinkTimings kFastTimings{.acknowledgementMs = 150, .answerMs = 1500, .attempts = 3};

}  // namespace rkvt::cli
