#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ui/Controls.h"
#include "ui/ManualClock.h"
#include "support/TIni.h"
#include "support/TInvisible.h"

namespace rkvt {
namespace {

class NonVisual : public testing::Test {
 protected:
  QTemporaryDir dir_;
  ui::ManualClock clock_;
  TIni ini_{dir_.path()};
  TInvisible invisible_{clock_, ini_};
  ui::StatusBar statusBar_{"StatusBar"};
  ui::StatusBar helpLine_{"StatusBarHelpLine"};
};

TEST_F(NonVisual, PortSettingsLoadedAtCreationStoredAtDestruction) {
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
TEST_F(NonVisual, HintsGoOnlyToTheTargetSink) {
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

}  // namespace
}  // namespace rkvt
