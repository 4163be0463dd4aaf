#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Controls.h"
#include "ManualClock.h"
#include "TIni.h"
#include "TInvisible.h"

namespace rkvt {
namespace {

class TInvisibleTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QTemporaryDir dir_;
  ui::ManualClock clock_;
};

// --- Timers -----------------------------------------------------------------

TEST_F(TInvisibleTest, Timers_NamesIntervalsAndAllDisabledAtStart) {
  TIni ini(dir_.path());
  TInvisible invisible(clock_, ini);
  struct Expected {
    const ui::Timer& timer;
    const char* name;
    int interval;
  };
  const Expected expected[] = {
      {invisible.TimerStatistics, "TimerStatistics", 333},
      {invisible.TimerLoopStatistics, "TimerLoopStatistics", 333},
      {invisible.TimerProgress, "TimerProgress", 1000},
      {invisible.TimerLoopNoLine10s, "TimerLoopNoLine10s", 10000},
      {invisible.TimerLoopNoLine20s, "TimerLoopNoLine20s", 20000},
      {invisible.TimerDelay, "TimerDelay", 200},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(e.timer.Name(), QString(e.name));
    EXPECT_EQ(e.timer.Interval(), e.interval) << e.name;
    EXPECT_FALSE(e.timer.Enabled()) << e.name;
    EXPECT_EQ(clock_.DueIn(e.timer), -1) << e.name;
  }
}

TEST_F(TInvisibleTest, NoLine20s_OnlyDisablesItself) {
  TIni ini(dir_.path());
  TInvisible invisible(clock_, ini);
  invisible.TimerLoopNoLine20s.Restart(20000);
  clock_.Advance(19999);
  EXPECT_TRUE(invisible.TimerLoopNoLine20s.Enabled());
  clock_.Advance(1);
  EXPECT_FALSE(invisible.TimerLoopNoLine20s.Enabled());
  EXPECT_EQ(clock_.DueIn(invisible.TimerLoopNoLine20s), -1);
}

TEST_F(TInvisibleTest, Delay_FiresOnceThenStaysOff) {
  TIni ini(dir_.path());
  TInvisible invisible(clock_, ini);
  invisible.TimerDelay.SetInterval(100);
  invisible.TimerDelay.SetEnabled(true);
  EXPECT_EQ(clock_.DueIn(invisible.TimerDelay), 100);
  clock_.Advance(100);
  EXPECT_FALSE(invisible.TimerDelay.Enabled());
}

TEST_F(TInvisibleTest, OneShotStatistics_ArmedWithStatInterval_FiresOnce) {
  TIni ini(dir_.path());
  TInvisible invisible(clock_, ini);
  int ticks = 0;
  // As the main window wires it: the tick disables the timer first.
  invisible.TimerStatistics.OnTimer = [&] {
    invisible.TimerStatistics.SetEnabled(false);
    ++ticks;
  };
  invisible.TimerStatistics.Restart(5000);
  clock_.Advance(4999);
  EXPECT_EQ(ticks, 0);
  clock_.Advance(1);
  EXPECT_EQ(ticks, 1);
  clock_.Advance(60000);
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(invisible.TimerStatistics.Enabled());
}

TEST_F(TInvisibleTest, Pause_LastsAtLeastTheInterval) {
  TIni ini(dir_.path());
  TInvisible invisible(clock_, ini);
  QElapsedTimer elapsed;
  elapsed.start();
  invisible.Pause(30);
  EXPECT_GE(elapsed.elapsed(), 30);
  invisible.Pause(0);
  invisible.Pause(-5);
}

// --- Serial port settings ---------------------------------------------------

TEST_F(TInvisibleTest, PortSettings_LoadedAtCreationStoredAtDestruction) {
  {
    TIni ini(dir_.path());
    ini.WriteString("ComPort", "Port", "ttyUSB2");
    ini.WriteString("ComPort", "BaudRate", "9600");
  }
  {
    TIni ini(dir_.path());
    TInvisible invisible(clock_, ini);
    EXPECT_EQ(invisible.ComPort().name, QString("ttyUSB2"));
    EXPECT_EQ(invisible.ComPort().baudRate, 9600);
    EXPECT_EQ(invisible.ComPort().dataBits, QSerialPort::Data8);
    // The user picks another port in the port dialog.
    invisible.ComPort().name = "ttyACM0";
    invisible.ComPort().parity = QSerialPort::EvenParity;
  }
  TIni ini(dir_.path());
  PortSettings stored;
  ini.LoadPortSettings(stored);
  EXPECT_EQ(stored.name, QString("ttyACM0"));
  EXPECT_EQ(stored.baudRate, 9600);
  EXPECT_EQ(stored.parity, QSerialPort::EvenParity);
}

// --- Hint routing -----------------------------------------------------------

class HintRoutingTest : public TInvisibleTest {
 protected:
  TIni ini_{dir_.path()};
  TInvisible invisible_{clock_, ini_};
  ui::StatusBar statusBar_{"StatusBar"};
  ui::StatusBar helpLine_{"StatusBarHelpLine"};
};

TEST_F(HintRoutingTest, TargetZeroAtStart_HintsGoNowhere) {
  invisible_.SetHintSinks(&statusBar_, &helpLine_);
  EXPECT_EQ(invisible_.HintTarget(), 0);
  invisible_.ApplicationEventsHint("Read the modem state");
  EXPECT_EQ(statusBar_.SimpleText(), QString());
  EXPECT_EQ(helpLine_.SimpleText(), QString());
}

TEST_F(HintRoutingTest, EachTargetWritesOnlyItsSink) {
  invisible_.SetHintSinks(&statusBar_, &helpLine_);
  invisible_.SetHintTarget(1);
  invisible_.ApplicationEventsHint("Read the modem state");
  EXPECT_EQ(statusBar_.SimpleText(), QString(" Read the modem state"));
  EXPECT_EQ(helpLine_.SimpleText(), QString());

  invisible_.SetHintTarget(2);
  invisible_.ApplicationEventsHint("Line bit rate");
  EXPECT_EQ(helpLine_.SimpleText(), QString(" Line bit rate"));
  EXPECT_EQ(statusBar_.SimpleText(), QString(" Read the modem state"));

  // Leaving a control clears the line down to the blank.
  invisible_.ApplicationEventsHint("");
  EXPECT_EQ(helpLine_.SimpleText(), QString(" "));

  invisible_.SetHintTarget(0);
  invisible_.ApplicationEventsHint("ignored");
  EXPECT_EQ(helpLine_.SimpleText(), QString(" "));
  EXPECT_EQ(statusBar_.SimpleText(), QString(" Read the modem state"));
}

TEST_F(HintRoutingTest, OutOfRangeTargets_KeepPreviousTarget) {
  invisible_.SetHintSinks(&statusBar_, &helpLine_);
  invisible_.SetHintTarget(2);
  for (const int bad : {3, 100, -1}) {
    invisible_.SetHintTarget(bad);
    EXPECT_EQ(invisible_.HintTarget(), 2) << bad;
  }
  // The update window never sets a target: its hints follow the last active window.
  invisible_.ApplicationEventsHint("Choose the image file");
  EXPECT_EQ(helpLine_.SimpleText(), QString(" Choose the image file"));
}

TEST_F(HintRoutingTest, MissingSink_NoCrash) {
  invisible_.SetHintTarget(1);
  invisible_.ApplicationEventsHint("no window yet");
  invisible_.SetHintSinks(nullptr, &helpLine_);
  invisible_.ApplicationEventsHint("still none");
  EXPECT_EQ(helpLine_.SimpleText(), QString());
}

// --- Full-text tooltips -----------------------------------------------------

struct TooltipCase {
  const char* control;
  int textWidth;
  int clientWidth;
  bool shown;
};

class TooltipTest : public testing::TestWithParam<TooltipCase> {};

TEST_P(TooltipTest, OnlyStateAndStatusBarTextsThatDoNotFit) {
  const QString text = " Remote modem: no line, loop test running";
  const auto tip = TInvisible::FullTextTooltip(GetParam().control, text, GetParam().textWidth, GetParam().clientWidth);
  if (GetParam().shown) {
    ASSERT_TRUE(tip.has_value());
    EXPECT_EQ(*tip, text);
  } else {
    EXPECT_FALSE(tip.has_value());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TooltipTest,
    testing::Values(TooltipCase{"StaticTextState", 301, 300, true}, TooltipCase{"StaticTextState", 300, 300, false},
                    TooltipCase{"StaticTextState", 120, 300, false}, TooltipCase{"StatusBar", 800, 640, true},
                    TooltipCase{"StatusBar", 640, 640, false}, TooltipCase{"StaticTextModem", 800, 100, false},
                    TooltipCase{"StatusBarHelpLine", 800, 100, false}, TooltipCase{"statusbar", 800, 100, false}));

}  // namespace
}  // namespace rkvt
