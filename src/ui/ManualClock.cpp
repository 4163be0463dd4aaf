#include "ui/ManualClock.h"

#include <algorithm>

namespace rkvt::ui {

void ManualClock::Arm(Timer& timer) { deadlines_[&timer] = now_ + std::max(1, timer.Interval()); }

void ManualClock::Disarm(Timer& timer) { deadlines_.erase(&timer); }

std::int64_t ManualClock::DueIn(const Timer& timer) const {
  const auto it = deadlines_.find(const_cast<Timer*>(&timer));
  return it == deadlines_.end() ? -1 : it->second - now_;
}

void ManualClock::Advance(std::int64_t ms) {
  const std::int64_t end = now_ + ms;
  while (true) {
    auto next = std::min_element(deadlines_.begin(), deadlines_.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    if (next == deadlines_.end() || next->second > end) break;
    Timer* timer = next->first;
    now_ = next->second;
    // Periodic: the next deadline is set before the tick, which may disable it.
    next->second = now_ + std::max(1, timer->Interval());
    timer->Fire();
  }
  now_ = end;
}

}  // namespace rkvt::ui
