#pragma once

namespace rkvt::cli {

// Ctrl-C (and SIGTERM) only count here; the running command reads the count
// and stops the way a Stop button stops it, so no frame is cut in half.
void InstallInterruptHandler();
// How many interrupts have come so far.
int InterruptCount();

}  // namespace rkvt::cli
