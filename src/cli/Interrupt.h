#pragma once

namespace rkvt::cli {

// Ctrl-C (and SIGTERM) only raise a flag here; the running command reads it
// and stops the way a Stop button stops it, so no frame is cut in half.
void InstallInterruptHandler();
bool InterruptRequested();

}  // namespace rkvt::cli
