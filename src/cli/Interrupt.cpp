#include "cli/Interrupt.h"

#include <csignal>

namespace rkvt::cli {

namespace {
volatile std::sig_atomic_t gInterrupts = 0;
extern "C" void OnInterrupt(int) { gInterrupts = gInterrupts + 1; }
}  // namespace

void InstallInterruptHandler() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
}

int InterruptCount() { return static_cast<int>(gInterrupts); }

}  // namespace rkvt::cli
