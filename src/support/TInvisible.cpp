#include "support/TInvisible.h"

#include "support/TIni.h"

namespace rkvt {

TInvisible::TInvisible(ui::Clock& clock, TIni& ini)
    : TimerStatistics(clock, QStringLiteral("TimerStatistics"), 333),
      TimerLoopStatistics(clock, QStringLiteral("TimerLoopStatistics"), 333),
      TimerProgress(clock, QStringLiteral("TimerProgress"), 1000),
      TimerLoopNoLine10s(clock, QStringLiteral("TimerLoopNoLine10s"), 10000),
      TimerLoopNoLine20s(clock, QStringLiteral("TimerLoopNoLine20s"), 20000),
      ini_(ini) {
  // The disconnect button asks whether the 20 s timer is still running; that
  // it ran out is all it has to say.
  TimerLoopNoLine20s.OnTimer = [this] { TimerLoopNoLine20s.SetEnabled(false); };
  ini_.LoadPortSettings(comPort_);
}

TInvisible::~TInvisible() { ini_.SavePortSettings(comPort_); }

void TInvisible::SetHintTarget(int target) {
  // Only the three known targets; anything else (negative too) keeps the last one.
  if (target < 0 || target > 2) return;
  hintTarget_ = target;
}

void TInvisible::SetHintSinks(ui::StatusBar* mainStatusBar, ui::StatusBar* setupHelpLine) {
  mainStatusBar_ = mainStatusBar;
  setupHelpLine_ = setupHelpLine;
}

void TInvisible::ApplicationEventsHint(const QString& longHint) {
  ui::StatusBar* sink = hintTarget_ == 1 ? mainStatusBar_ : hintTarget_ == 2 ? setupHelpLine_ : nullptr;
  if (sink != nullptr) sink->SetSimpleText(QLatin1Char(' ') + longHint);
}


}  // namespace rkvt
