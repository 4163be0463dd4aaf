#pragma once

#include <QString>
#include <functional>

namespace rkvt::ui {

class Clock;

// A repeating timer as the window logic sees it: interval, enabled, tick.
// A one-shot timer is one that disables itself in its own tick. Enabling it,
// or changing the interval while enabled, starts the interval from zero.
class Timer {
 public:
  Timer(Clock& clock, QString name, int intervalMs);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const QString& Name() const { return name_; }
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Disable, set the interval, enable: the timer starts again from zero.
  void Restart(int ms);

  std::function<void()> OnTimer;
  // Called by the clock on the user-interface thread.
  void Fire();

 private:
  Clock& clock_;
  QString name_;
  int interval_;
  bool enabled_ = false;
};

// What drives timers: Qt's timers in the program, a hand-advanced clock in tests.
class Clock {
 public:
  virtual ~Clock() = default;
  // The timer's interval starts now (again).
  virtual void Arm(Timer& timer) = 0;
  virtual void Disarm(Timer& timer) = 0;
};

}  // namespace rkvt::ui
