#pragma once

#include <chrono>
#include <optional>

namespace rkvt::sim {

// The modem's own time, from which its counters advance. It follows the
// steady clock until a test freezes it; from then on only Advance moves it,
// so counters can be checked to the unit.
class ModemClock {
 public:
  using Duration = std::chrono::milliseconds;

  ModemClock() : start_(std::chrono::steady_clock::now()) {}
  // Frozen at power-on: time passes only by Advance.
  static ModemClock Manual() {
    ModemClock clock;
    clock.frozenAt_ = Duration{0};
    return clock;
  }

  Duration Now() const;
  void Freeze();
  bool Frozen() const { return frozenAt_.has_value(); }
  void Advance(Duration by) { offset_ += by; }

 private:
  Duration RealElapsed() const;

  std::chrono::steady_clock::time_point start_;
  Duration offset_{0};
  std::optional<Duration> frozenAt_;
};

}  // namespace rkvt::sim
