#pragma once

#include <cstdint>
#include <map>

#include "ui/Timer.h"

namespace rkvt::ui {

// A clock that moves only when a test says so. Due timers fire in order of
// their deadlines; a timer that stays enabled fires again an interval later.
class ManualClock : public Clock {
 public:
  void Arm(Timer& timer) override;
  void Disarm(Timer& timer) override;

  void Advance(std::int64_t ms);
  std::int64_t Now() const { return now_; }
  // Milliseconds until the timer fires, or -1 when it is not armed.
  std::int64_t DueIn(const Timer& timer) const;

 private:
  std::int64_t now_ = 0;
  std::map<Timer*, std::int64_t> deadlines_;
};

}  // namespace rkvt::ui
