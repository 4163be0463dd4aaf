#pragma once

#include <QTimer>
#include <map>
#include <memory>

#include "ui/Timer.h"

namespace rkvt::ui {

// Timers on Qt's event loop: ticks run on the user-interface thread.
class QtClock : public Clock {
 public:
  void Arm(Timer& timer) override;
  void Disarm(Timer& timer) override;

 private:
  std::map<Timer*, std::unique_ptr<QTimer>> timers_;
};

}  // namespace rkvt::ui
