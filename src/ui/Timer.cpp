#include "ui/Timer.h"

namespace rkvt::ui {

Timer::Timer(Clock& clock, QString name, int intervalMs)
    : clock_(clock), name_(std::move(name)), interval_(intervalMs) {}

Timer::~Timer() {
  if (enabled_) clock_.Disarm(*this);
}

void Timer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (enabled_) clock_.Arm(*this);
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_) {
    clock_.Arm(*this);
  } else {
    clock_.Disarm(*this);
  }
}

void Timer::Restart(int ms) {
  SetEnabled(false);
  interval_ = ms;
  SetEnabled(true);
}

void Timer::Fire() {
  if (enabled_ && OnTimer) OnTimer();
}

}  // namespace rkvt::ui
