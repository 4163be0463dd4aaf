#include "sim/ModemClock.h"

namespace rkvt::sim {

ModemClock::Duration ModemClock::RealElapsed() const {
  return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - start_);
}

ModemClock::Duration ModemClock::Now() const { return (frozenAt_ ? *frozenAt_ : RealElapsed()) + offset_; }

void ModemClock::Freeze() {
  if (!frozenAt_) frozenAt_ = RealElapsed();
}

}  // namespace rkvt::sim
