#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <vector>

#include "support/TLog.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace rkvt {
namespace {

using ui::colors::kGreen, ui::colors::kLime;
constexpr std::uint8_t kDone = 25, kFailed = 26, kIdentifyFailed = 3;
constexpr char kStamp[] = "05.01.2026 07:08:09";

class LogTest : public testing::Test {
 protected:
  TLog Make(bool enabled = true, const QString& port = QStringLiteral("COM1")) {
    return TLog(QStringLiteral("R-KVT-MS_v2.48"), port, enabled, dir_.path(),
                [] { return QDateTime(QDate(2026, 1, 5), QTime(7, 8, 9)); });
  }
  QString Path() const { return dir_.filePath(QStringLiteral("r-kvt-ms_v2.48 com1.log")); }
  QByteArray Raw() const {
    QFile f(Path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
  }
  void Put(const QByteArray& bytes) {
    QFile f(Path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
  }
  // The texts of the written lines, stamps, numbers and blank lines left out.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const QByteArray& line : Raw().split('\n'))
      if (line.contains("] : ")) texts.push_back(line.mid(line.indexOf("] : ") + 4).chopped(1).toStdString());
    return texts;
  }

  QTemporaryDir dir_;
};

TEST_F(LogTest, FileNamePortPathGivesItsLastPartOffWritesNoFile) {
  for (const auto& [port, name] : {std::pair{"COM1", "com1"}, {"/dev/ttyUSB0", "ttyusb0"}, {"\\\\.\\COM10", "com10"}})
    EXPECT_EQ(Make(true, port).Path(), dir_.filePath(QStringLiteral("r-kvt-ms_v2.48 %1.log").arg(name)));
  TLog off = Make(false);
  off.Add(QStringLiteral("R-KVT-MS_v2.48 started."));
  const std::uint8_t reply[8] = {kIdentifyFailed};
  off.Monitor({.snapshot = reply});
  EXPECT_TRUE(QDir(dir_.path()).isEmpty());
}

TEST_F(LogTest, AddGapBeforeLineOneOfEachObjectNumbersPerObject) {
  Make().Add(QStringLiteral("first"));
  TLog log = Make();
  log.Add(QStringLiteral("R-KVT-MS_v2.48 started."));
  log.Add(QStringLiteral("Line DOWN"));
  EXPECT_EQ(Raw(), QByteArray("\r\n\r\n05.01.2026 07:08:09 [1] : first\r\n"
                              "\r\n\r\n05.01.2026 07:08:09 [1] : R-KVT-MS_v2.48 started.\r\n"
                              "05.01.2026 07:08:09 [2] : Line DOWN\r\n"));
  EXPECT_TRUE(QFileInfo(Path()).permissions() & QFileDevice::ReadOther);
}

// Old lines of 100 bytes each (CR LF counted) behind a first line of
// `firstBytes`; a new line with its gap adds 4 + 29 + 2 bytes. Then the size and start the file must have.
using CapCase = std::tuple<int, int, qint64, std::string>;
class Cap : public LogTest, public testing::WithParamInterface<CapCase> {};

TEST_P(Cap, JustBelowAtOneOverFarAboveOldestLinesGoFirstNewestStays) {
  const auto& [firstBytes, lines, size, first] = GetParam();
  QByteArray old = QByteArray(firstBytes - 2, 'F') + "\r\n";
  for (int i = 1; i <= lines; ++i) old += QByteArray::number(i).rightJustified(98, '0') + "\r\n";
  Put(old);
  Make().Add(QStringLiteral("x"));
  EXPECT_EQ(Raw().size(), size);
  EXPECT_TRUE(Raw().startsWith(first) && Raw().endsWith(QByteArray("\r\n\r\n\r\n") + kStamp + " [1] : x\r\n"));
}
INSTANTIATE_TEST_SUITE_P(LogTest, Cap,
                         testing::Values(CapCase{54, 5242, 524287, "FFF"}, CapCase{55, 5242, 524288, "FFF"},
                                         CapCase{56, 5242, 524288 - 56 + 1, "00000000"},
                                         CapCase{88, 5292, 524288 - 55, std::string(96, '0') + "51"}));

TEST_F(LogTest, AddBytesThatAreNotTextSurviveAndTheLineIsAdded) {
  Put(QByteArray("\x00\xff\x80 one\rtwo\nlast", 16));
  Make().Add(QStringLiteral("x"));
  EXPECT_EQ(Raw(), QByteArray("\x00\xff\x80 one\rtwo\r\nlast\r\n\r\n\r\n", 23) + kStamp + " [1] : x\r\n");
}

TEST_F(LogTest, AddUnwritableOrDirectoryLosesTheLineOnly) {
  TLog log = Make();
  ASSERT_TRUE(QDir().mkdir(Path()));
  log.Add(QStringLiteral("lost in a directory"));
  ASSERT_TRUE(QFileInfo(Path()).isDir() && QDir().rmdir(Path()));

  Put("kept\r\n");
  ASSERT_TRUE(QFile::setPermissions(Path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
  log.Add(QStringLiteral("lost on a read-only file"));
  EXPECT_EQ(Raw(), QByteArray("kept\r\n"));

  // Writable again: the next line comes, with the gap and its own number.
  ASSERT_TRUE(QFile::setPermissions(Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
  log.Add(QStringLiteral("back"));
  EXPECT_EQ(Raw(), QByteArray("kept\r\n\r\n\r\n") + kStamp + " [3] : back\r\n");
  EXPECT_EQ(QFileInfo(Path()).permissions() & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

#ifdef Q_OS_UNIX
TEST_F(LogTest, AddWriteFailsHalfWayOldFileIntact) {
  const QByteArray old = QByteArray(3000, 'o') + "\r\n";
  Put(old);
  // A file size limit makes the new file fail part-way, like a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{1000, saved.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Make().Add(QStringLiteral("x"));
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(Raw(), old);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
#endif

// Monitor: a run of replies, each step changes the window and lists the lines it must add.
struct Step {
  std::function<void(TLog::Window&)> change;
  std::vector<std::string> lines;
};

class MonitorTest : public LogTest {
 protected:
  void Run(const std::vector<Step>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const std::size_t before = Texts().size();
      if (steps[i].change) steps[i].change(w_);
      log_.Monitor(w_);
      const std::vector<std::string> all = Texts();
      EXPECT_EQ(std::vector<std::string>(all.begin() + before, all.end()), steps[i].lines) << "step " << i;
    }
  }
  std::array<std::uint8_t, 120> block_{kDone, 0, 0, 0, 0, 0, 0x70};  // slot A: E1 module
  TLog::Window w_{.snapshot = block_, .interfaceCode = 5, .targetWord = "local ", .modem = "Vorak R-KVT-MS-2",
                  .version = "3.15", .interface = "E1", .cable = "V.35", .fullTime = "1:00:00", .currTime = "0:10:00",
                  .noLineTime = "0:00:00", .errorsTime = "0:00:01", .lineRate = " 128000", .quality = "A",
                  .parameters = {"0x001F", "0x0000", "0", "7"}, .port2 = {kLime, kLime, kLime, kLime, kLime},
                  .ethernetLink = kLime, .los = kGreen, .lof = kGreen, .ais = kGreen, .ra = kGreen, .lot = kGreen};
  TLog log_ = Make();
};

std::string SummaryE1(const char* noLine = "0:00:00", const char* errors = "0:00:01", const char* fourth = "7") {
  return std::string("Connection to local Vorak R-KVT-MS-2 is established, FW version 3.15, interface E1, available "
                     "modules E1, full time 1:00:00, curr time 0:10:00, noline time ") + noLine + ", errors time " +
         errors + ", parameter 1 0x001F, parameter 2 0x0000, parameter 3 0, parameter 4 " + fourth;
}

TEST_F(MonitorTest, LineDropsAndReturnsConnectionLostAndBack) {
  const std::string up = "Line UP, line rate  128000 kbit/s, quality A", e1Up = "E1 port status is changed to UP";
  Run({
      {nullptr, {SummaryE1(), up, e1Up}},
      {nullptr, {SummaryE1(), up, e1Up}},
      {[&](auto&) { log_.SetMonitoring(true); }, {}},
      {[&](auto& w) { block_[5] = 5, w.quality = "No line"; }, {"Line DOWN"}},
      {[](auto& w) { w.lineRate = " Unknown", w.noLineTime = "0:00:05"; }, {"noline time: 0:00:05"}},
      {[&](auto& w) { block_[5] = 0x18, w.quality = "B", w.errorsTime = "0:00:02", w.parameters[3] = "8"; },
       {"Line UP, line rate  Unknown kbit/s, quality B", "errors time: 0:00:02", "parameter 4: 8"}},
      {[&](auto&) { block_[0] = kIdentifyFailed; }, {TLog::kNoConnection}},
      {[&](auto&) { block_[0] = kFailed; }, {}},
      {[&](auto&) { block_[0] = kDone; }, {TLog::kConnection}},
      {[&](auto&) { block_[0] = 50, log_.SetMonitoring(false); },
       {SummaryE1("0:00:05", "0:00:02", "8"), "Line UP, line rate  Unknown kbit/s, quality B", e1Up}},
  });
}

TEST_F(MonitorTest, E1AlarmsLosMasksLofAisRaLotAlways) {
  log_.Monitor(w_);  // the summary, then polling
  log_.SetMonitoring(true);
  Run({
      {[](auto& w) { w.los = w.lof = w.ais = kLime; },
       {"E1 port is detected alarm: Loss Of Signal", "E1 port status is changed to DOWN"}},
      {[](auto& w) { w.lot = kLime; }, {"E1 port is detected alarm: Loss Of Transmitter"}},
      {[](auto& w) { w.los = kGreen; },
       {"E1 port is detected alarm: Loss Of Frame", "E1 port is detected alarm: Alarm Indication signal"}},
      {[](auto& w) { w.lof = w.ais = w.lot = kGreen, w.ra = kLime; }, {"E1 port is detected alarm: Remote Alarm"}},
      {[](auto& w) { w.ra = kGreen; }, {"E1 port status is changed to UP"}},
      {[](auto& w) { w.lof = kLime; },
       {"E1 port is detected alarm: Loss Of Frame", "E1 port status is changed to DOWN"}},
  });
}

TEST_F(MonitorTest, PortsFollowTheInterfaceCableOnlyForPort2Codes0And6LogNoPort) {
  const char *p2Up = "Port 2 (KSI-2) status is changed to UP", *p2Down = "Port 2 (KSI-2) status is changed to DOWN";
  Run({
      {[&](auto& w) {
         w.interfaceCode = 4, w.interface = "P2 Async", w.targetWord = "remote ";
         block_[6] = 0x30, block_[10] = 0x90, block_[14] = 0x40;  // P2, then ENX-100, then ENX
       },
       {"Connection to remote Vorak R-KVT-MS-2 is established, FW version 3.15, interface P2 Async, cable V.35, "
        "available modules Ethernet ENX-100, full time 1:00:00, curr time 0:10:00, noline time 0:00:00, "
        "errors time 0:00:01, parameter 1 0x001F, parameter 2 0x0000, parameter 3 0, parameter 4 7",
        "Line UP, line rate  128000 kbit/s, quality A", p2Up}},
      {[&](auto& w) { log_.SetMonitoring(true), w.port2[4] = kGreen; }, {p2Down}},
      {[](auto& w) { w.port2[4] = kLime; }, {p2Up}},
      {[](auto& w) { w.interfaceCode = 3, w.ethernetLink = kGreen; },
       {p2Down, "Ethernet port link status is changed to DOWN"}},
      {[](auto& w) { w.ethernetLink = ui::Color::ButtonFace(); }, {"Ethernet port link status is changed to UP"}},
      {[](auto& w) { w.interfaceCode = 5; }, {"E1 port status is changed to UP"}},
      {[](auto& w) { w.interfaceCode = 1; },
       {"Ethernet port link status is changed to DOWN", "E1 port status is changed to DOWN", p2Up}},
      {[](auto& w) { w.interfaceCode = 6, w.port2.fill(kGreen), w.los = kLime; }, {}},
      {[](auto& w) { w.interfaceCode = 0; }, {}},
  });
}

}  // namespace
}  // namespace rkvt
