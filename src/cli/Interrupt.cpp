#include "cli/Interrupt.h"

#include <csignal>

namespace rkvt::cli {

namespace {
volatile std::sig_atomic_t gInterrupted = 0;
extern "C" void OnInterrupt(int) { gInterrupted = 1; }
}  // namespace

void InstallInterruptHandler() {
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
}

bool InterruptRequested() { return gInterrupted != 0; }

}  // namespace rkvt::cli
