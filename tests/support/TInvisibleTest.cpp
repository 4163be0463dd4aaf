#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ui/Controls.h"
#include "ui/ManualClock.h"
#include "support/TIni.h"
#include "support/TInvisible.h"

namespace rkvt {
namespace {

class TInvisibleTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

  QTemporaryDir dir_;
  ui::ManualClock clock_;
  TIni ini_{dir_.path()};
  TInvisible invisible_{clock_, ini_};
  ui::StatusBar statusBar_{"StatusBar"};
  ui::StatusBar helpLine_{"StatusBarHelpLine"};
};

TEST_F(TInvisibleTest, Timers_NamesIntervalsAndAllDisabledAtStart) {
  const TInvisible& v = invisible_;
  const std::tuple<const ui::Timer&, const char*, int> expected[] = {
      {v.TimerStatistics, "TimerStatistics", 333},       {v.TimerLoopStatistics, "TimerLoopStatistics", 333},
      {v.TimerProgress, "TimerProgress", 1000},          {v.TimerLoopNoLine10s, "TimerLoopNoLine10s", 10000},
      {v.TimerLoopNoLine20s, "TimerLoopNoLine20s", 20000}, {v.TimerDelay, "TimerDelay", 200}};
  for (const auto& [timer, name, interval] : expected) {
    EXPECT_EQ(timer.Name(), QString(name));
    EXPECT_EQ(timer.Interval(), interval) << name;
    EXPECT_FALSE(timer.Enabled()) << name;
    EXPECT_EQ(clock_.DueIn(timer), -1) << name;
  }
}

TEST_F(TInvisibleTest, NoLine20sAndDelay_TickOnlyDisablesThemselves) {
  for (ui::Timer* timer : {&invisible_.TimerLoopNoLine20s, &invisible_.TimerDelay}) {
    timer->Restart(100);
    clock_.Advance(99);
    EXPECT_TRUE(timer->Enabled()) << timer->Name().toStdString();
    clock_.Advance(1);
    EXPECT_FALSE(timer->Enabled()) << timer->Name().toStdString();
    EXPECT_EQ(clock_.DueIn(*timer), -1);
  }
}

TEST_F(TInvisibleTest, Pause_LastsAtLeastTheInterval) {
  QElapsedTimer elapsed;
  elapsed.start();
  invisible_.Pause(30);
  EXPECT_GE(elapsed.elapsed(), 30);
  invisible_.Pause(-5);
}

TEST_F(TInvisibleTest, PortSettings_LoadedAtCreationStoredAtDestruction) {
  const QString path = dir_.filePath("port");
  TIni(path).SavePortSettings({.name = "ttyUSB2", .baudRate = 9600});
  {
    TIni ini(path);
    TInvisible invisible(clock_, ini);
    EXPECT_EQ(invisible.ComPort(), (PortSettings{.name = "ttyUSB2", .baudRate = 9600}));
    invisible.ComPort().parity = QSerialPort::EvenParity;  // changed in the port dialog
  }
  PortSettings stored;
  TIni(path).LoadPortSettings(stored);
  EXPECT_EQ(stored, (PortSettings{.name = "ttyUSB2", .baudRate = 9600, .parity = QSerialPort::EvenParity}));
}

// 0 (at start): nowhere; 1: main status bar; 2: setup help line; others ignored.
TEST_F(TInvisibleTest, Hints_GoOnlyToTheTargetSink) {
  invisible_.ApplicationEventsHint("no window yet");  // no sinks: no crash
  invisible_.SetHintSinks(&statusBar_, &helpLine_);
  invisible_.ApplicationEventsHint("Read the modem state");
  EXPECT_EQ(statusBar_.SimpleText() + "|" + helpLine_.SimpleText(), QString("|"));

  invisible_.SetHintTarget(1);
  invisible_.ApplicationEventsHint("Read the modem state");
  EXPECT_EQ(statusBar_.SimpleText() + "|" + helpLine_.SimpleText(), QString(" Read the modem state|"));

  invisible_.SetHintTarget(2);
  invisible_.ApplicationEventsHint("Line bit rate");
  EXPECT_EQ(statusBar_.SimpleText() + "|" + helpLine_.SimpleText(), QString(" Read the modem state| Line bit rate"));
  invisible_.ApplicationEventsHint("");  // leaving a control clears down to the blank
  EXPECT_EQ(helpLine_.SimpleText(), QString(" "));

  // The update window never sets a target: its hints follow the last active window.
  for (const int bad : {3, 100, -1}) invisible_.SetHintTarget(bad);
  EXPECT_EQ(invisible_.HintTarget(), 2);
  invisible_.ApplicationEventsHint("Choose the image file");
  EXPECT_EQ(helpLine_.SimpleText(), QString(" Choose the image file"));

  invisible_.SetHintTarget(0);
  invisible_.ApplicationEventsHint("ignored");
  EXPECT_EQ(statusBar_.SimpleText() + "|" + helpLine_.SimpleText(),
            QString(" Read the modem state| Choose the image file"));
}

TEST(TInvisibleTooltipTest, OnlyStateAndStatusBarTextsThatDoNotFit) {
  const QString text = " Remote modem: no line, loop test running";
  const std::tuple<const char*, int, int, bool> cases[] = {
      {"StaticTextState", 301, 300, true}, {"StaticTextState", 300, 300, false}, {"StatusBar", 800, 640, true},
      {"StatusBar", 640, 640, false},      {"StaticTextModem", 800, 100, false}, {"StatusBarHelpLine", 800, 100, false},
      {"statusbar", 800, 100, false}};
  for (const auto& [control, textWidth, clientWidth, shown] : cases) {
    EXPECT_EQ(TInvisible::FullTextTooltip(control, text, textWidth, clientWidth),
              shown ? std::optional<QString>(text) : std::nullopt) << control << " " << textWidth;
  }
}

}  // namespace
}  // namespace rkvt
