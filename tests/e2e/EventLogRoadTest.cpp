// The event log through the real program, offscreen, against the emulator.
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <csignal>

#include "RoadsHarness.h"
#include "app/QuitOnSignals.h"

namespace rkvt {
namespace {

using test::kHangGuardMs;

// A steady E1 modem: its clock stands still, no errors, no alarms.
sim::ModemModel SteadyModem() {
  auto model = test::EmulatedModem();
  model.Clock().Freeze();
  model.Local().stats.errorsPerMille = 0;
  model.Local().state.slotA.e1Alarms = 0xFF;
  return model;
}

// Logging on, the placement file naming the emulator's port; all in one folder.
class LogRoad : public test::PlainStyleTest {
 protected:
  void SetUp() override {
    QFile cfg(dir_.filePath(QStringLiteral("r-kvt-ms_v2.48.cfg")));
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write("[Config]\nStatInterval=50\nLoopInterval=1000\nCreateLogFiles=yes\n");
  }
  QString Port() const { return QString::fromStdString(modem_.PortPath()); }
  // The lines' texts; /dev/pts/N logs to "r-kvt-ms_v2.48 n.log" here.
  std::vector<std::string> Texts() const {
    QFile f(dir_.filePath(QStringLiteral("r-kvt-ms_v2.48 %1.log").arg(QFileInfo(Port()).fileName())));
    std::vector<std::string> texts;
    for (const QByteArray& line : f.open(QIODevice::ReadOnly) ? f.readAll().split('\n') : QList<QByteArray>())
      if (line.size() > 1) texts.push_back(line.mid(line.indexOf("] : ") + 4).chopped(1).toStdString());
    return texts;
  }
  bool WaitForLine(const std::string& text, int times = 1) {
    return QTest::qWaitFor([&] { return std::ranges::count(Texts(), text) >= times; }, kHangGuardMs);
  }

  QTemporaryDir dir_;
  sim::ModemEmulator modem_{SteadyModem()};
};

TEST_F(LogRoad, StateThenPollingThroughLineDropAndAlarmTellsTheStory) {
  auto program = test::StartProgram(dir_.path(), Port());
  ASSERT_TRUE(test::Run(*program, "ButtonState"));
  auto press = [&](const char* name) { program->MainWindow().findChild<QPushButton*>(name)->click(); };
  press("ButtonStatistics");
  const auto change = [&](std::uint8_t quality, std::uint8_t alarms) {
    modem_.Configure([&](sim::ModemModel& m) { m.Local().state.quality = quality, m.Local().state.slotA.e1Alarms = alarms; });
  };
  change(5, 0xFD);  // no line, and the E1 port loses its signal
  ASSERT_TRUE(WaitForLine("E1 port status is changed to DOWN"));
  change(0, 0xFF);
  ASSERT_TRUE(WaitForLine("E1 port status is changed to UP", 2));
  press("ButtonStatistics");
  program.reset();

  const char* up = "Line UP, line rate  256000 kbit/s, quality A";
  EXPECT_EQ(Texts(), std::vector<std::string>(
                         {"R-KVT-MS_v2.48 started.",
                          "Connection to local Vorak R-KVT-MS-2 is established, FW version 3.15 - KAP, interface E1, "
                          "available modules E1, full time 0:00:00, curr time 0:00:00, noline time 0:00:00, "
                          "errors time 0:00:00, parameter 1 0x001F, parameter 2 0x0000, parameter 3 0, parameter 4 0",
                          up, "E1 port status is changed to UP", "Line DOWN",
                          "E1 port is detected alarm: Loss Of Signal", "E1 port status is changed to DOWN", up,
                          "E1 port status is changed to UP", "R-KVT-MS_v2.48 stopped."}));
}

#ifdef Q_OS_UNIX
class SignalEnd : public LogRoad, public testing::WithParamInterface<int> {};

TEST_P(SignalEnd, ClosesLikeTheWindowStoppedLoggedPlacementSaved) {
  auto program = test::StartProgram(dir_.path(), Port(), LinkTimings{});
  QuitOnSignals quit([] { QCoreApplication::quit(); });
  QTimer::singleShot(0, [signal = GetParam()] { std::raise(signal); });
  QTimer::singleShot(kHangGuardMs, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(QCoreApplication::exec(), 0);
  program.reset();
  EXPECT_EQ(Texts(), std::vector<std::string>({"R-KVT-MS_v2.48 started.", "R-KVT-MS_v2.48 stopped."}));
  EXPECT_TRUE(QSettings(dir_.filePath("R-Kvt-ms.ini"), QSettings::IniFormat).contains("FormMain/Top"));
}
INSTANTIATE_TEST_SUITE_P(LogRoad, SignalEnd, testing::Values(SIGTERM, SIGHUP, SIGINT));
#endif

}  // namespace
}  // namespace rkvt
