// Port failures made real on this machine: each ends in the port text and a
// reason that names the port, the system's answer and what to do.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <unistd.h>

#include "link/Commands.h"
#include "sim/Pty.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

struct Outcome {
  std::uint8_t result;
  std::vector<QString> texts, details;
};

Outcome IdentifyOn(const QString& port, QList<PortListing> ports = {}, LinkTimings timings = test::FastTimings()) {
  test::RecordingHost host;
  std::array<std::uint8_t, 120> reply{};
  PortSettings settings;
  settings.name = port;
  auto factory = [=] { return std::make_unique<QtSerialPort>(settings, [=] { return ports; }); };
  EXPECT_TRUE(test::RunWorker(new TProtocol(command::kIdentify, 1, true, reply.size(), reply.data(),
                                            {factory, timings, &host, 0}))
                  .completed);
  return {reply[0], host.texts, host.details};
}

TEST(PortReason, MissingPortNamesThePortsThatExist) {
  const struct {
    QString name;
    QList<PortListing> ports;
    QString reason;
  } cases[] = {
      {"/tmp/rkvt-no-such-port", {{.name = "ttyS0"}, {.name = "ttyUSB1"}},
       "/tmp/rkvt-no-such-port: no such port (the system answered \"No such file or directory\"). Ports on this "
       "machine: ttyS0, ttyUSB1. Check the cable and the adapter, and choose one of these."},
      {"ttyRKVT9", {},
       "/dev/ttyRKVT9: no such port (the system answered \"No such file or directory\"). This machine has no serial "
       "ports: plug in the adapter, then choose its port."},
  };
  for (const auto& c : cases) {
    const Outcome out = IdentifyOn(c.name, c.ports);
    EXPECT_EQ(out.result, result::kPortError);
    EXPECT_EQ(out.texts, std::vector<QString>{" Can't open COM-port!"});
    EXPECT_EQ(out.details, std::vector<QString>{c.reason});
  }
}

// The first opener (here: this process) leaves a lock file with its process id.
TEST(PortReason, BusyPortNamesTheProcessThatHoldsIt) {
  sim::Pty pty;
  const QString path = QString::fromStdString(pty.SlavePath());
  QtSerialPort holder(test::SettingsFor(pty.SlavePath()));
  holder.Open();
  QString lockFile;
  for (const char* folder : {"/run/lock", "/var/lock", "/var/spool/locks", "/tmp"}) {
    const QString candidate = QStringLiteral("%1/LCK..%2").arg(folder, path.mid(5).replace('/', '_'));
    if (QFileInfo::exists(candidate)) {
      lockFile = candidate;
      break;
    }
  }
  if (lockFile.isEmpty()) GTEST_SKIP() << "the toolkit keeps no lock file on this machine";
  QFile comm("/proc/self/comm");
  ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
  const QString program = QString::fromLocal8Bit(comm.readAll()).trimmed();

  const Outcome out = IdentifyOn(path);
  EXPECT_EQ(out.result, result::kPortError);
  EXPECT_EQ(out.texts, std::vector<QString>{" Can't open COM-port!"});
  EXPECT_EQ(out.details,
            std::vector<QString>{QStringLiteral("%1: busy (the system answered \"Permission error while locking the "
                                                "device\"). Process %2 (%3) holds it (lock file %4): close that "
                                                "program and try again.")
                                     .arg(path)
                                     .arg(getpid())
                                     .arg(program, lockFile)});
  holder.Close();
  EXPECT_EQ(IdentifyOn(path).texts.size(), 0u) << "free again once the holder has closed it";
}

// The modem's side of the line goes away while the worker waits for it.
TEST(PortReason, VanishedDeviceSaysItWentAwayAndSuggestsAStableName) {
  sim::ModemEmulator modem;
  modem.AddFault({.fault = sim::Fault::Vanish});
  const QString path = QString::fromStdString(modem.PortPath());
  const Outcome out = IdentifyOn(path, {}, LinkTimings{});
  EXPECT_EQ(out.result, result::kPortError);
  ASSERT_EQ(out.details.size(), 1u);
  const QString operation = out.texts == std::vector<QString>{" Can't write COM-port!"} ? "write" : "read";
  EXPECT_TRUE(out.details[0].startsWith(path + ": the device went away during the command (" + operation +
                                        ") (the system answered \""))
      << out.details[0].toStdString();
  EXPECT_TRUE(out.details[0].endsWith(
      "\"). Plug the adapter in again and check the port's name; a name under /dev/serial/by-id/ stays the same "
      "after re-plugging."))
      << out.details[0].toStdString();
}

}  // namespace
}  // namespace rkvt
