#include "ui/QtClock.h"

namespace rkvt::ui {

void QtClock::Arm(Timer& timer) {
  auto& qt = timers_[&timer];
  if (!qt) {
    qt = std::make_unique<QTimer>();
    qt->setTimerType(Qt::PreciseTimer);
    QObject::connect(qt.get(), &QTimer::timeout, [&timer] { timer.Fire(); });
  }
  qt->start(timer.Interval());
}

void QtClock::Disarm(Timer& timer) {
  const auto it = timers_.find(&timer);
  if (it != timers_.end()) it->second->stop();
}

}  // namespace rkvt::ui
