#pragma once

#include <QString>

#include "ui/Controls.h"
#include "port/PortSettings.h"
#include "ui/Timer.h"

namespace rkvt {

class TIni;

// The non-visual module every window shares: the serial port settings, the
// polling, progress and no-line timers and the hint routing. Timers run on the given clock; the ticks
// that belong to a window are wired by that window.
// The placement file must outlive this module: the port settings are stored
// into it on destruction.
class TInvisible {
 public:
  TInvisible(ui::Clock& clock, TIni& ini);
  ~TInvisible();  // stores the port settings
  TInvisible(const TInvisible&) = delete;
  TInvisible& operator=(const TInvisible&) = delete;

  PortSettings& ComPort() { return comPort_; }

  ui::Timer TimerStatistics;      // one-shot, armed with StatInterval
  ui::Timer TimerLoopStatistics;  // one-shot, armed with LoopInterval
  ui::Timer TimerProgress;        // periodic, 1000 ms
  ui::Timer TimerLoopNoLine10s;   // one-shot, 10000 ms
  ui::Timer TimerLoopNoLine20s;   // one-shot, 20000 ms; its tick only disables it

  // 0: hints go nowhere; 1: main window's status bar; 2: setup window's help line.
  int HintTarget() const { return hintTarget_; }
  void SetHintTarget(int target);

  // Where hints end up; either may be null (window not built yet).
  void SetHintSinks(ui::StatusBar* mainStatusBar, ui::StatusBar* setupHelpLine);
  // The application's current long hint changed (empty when none).
  void ApplicationEventsHint(const QString& longHint);

 private:
  TIni& ini_;
  PortSettings comPort_;
  int hintTarget_ = 0;
  ui::StatusBar* mainStatusBar_ = nullptr;
  ui::StatusBar* setupHelpLine_ = nullptr;
};

}  // namespace rkvt
