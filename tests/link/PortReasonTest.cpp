// Port failures made real on this machine end in the port's text and a reason
// that names the port, the system's answer and what to do. (Busy and
// permission denied are made real across processes in tests/cli.)
#include <gtest/gtest.h>

#include "link/Commands.h"
#include "LinkHarness.h"

namespace rkvt {
namespace {

// Identify on `port`; the result, the texts and the reasons shown.
std::tuple<int, std::vector<QString>, std::vector<QString>> IdentifyOn(const QString& port,
                                                                       QList<PortListing> ports = {},
                                                                       LinkTimings timings = test::FastTimings()) {
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
  const QString answer = "(the system answered \"No such file or directory\").";
  const std::tuple<QString, QList<PortListing>, QString> cases[] = {
      {"/tmp/rkvt-no-such-port", {{.name = "ttyS0"}, {.name = "ttyUSB1"}},
       "/tmp/rkvt-no-such-port: no such port " + answer +
           " Ports on this machine: ttyS0, ttyUSB1. Check the cable and the adapter, and choose one of these."},
      {"ttyRKVT9", {},  // a bare name is a device under /dev
       "/dev/ttyRKVT9: no such port " + answer +
           " This machine has no serial ports: plug in the adapter, then choose its port."},
  };
  for (const auto& [name, ports, reason] : cases) {
    EXPECT_EQ(IdentifyOn(name, ports),
              std::tuple(17, std::vector<QString>{" Can't open COM-port!"}, std::vector<QString>{reason}));
  }
}

// The modem's side of the line goes away while the worker waits for it.
TEST(PortReason, VanishedDeviceSaysItWentAwayAndSuggestsAStableName) {
  sim::ModemEmulator modem;
  modem.AddFault({.fault = sim::Fault::Vanish});
  const QString path = QString::fromStdString(modem.PortPath());
  const auto [result, texts, details] = IdentifyOn(path, {}, LinkTimings{});
  EXPECT_EQ(result, 17);
  ASSERT_EQ(details.size(), 1u);
  const QString operation = texts == std::vector<QString>{" Can't write COM-port!"} ? "write" : "read";
  EXPECT_TRUE(details[0].startsWith(path + ": the device went away during the command (" + operation +
                                    ") (the system answered \"") &&
              details[0].endsWith("\"). Plug the adapter in again and check the port's name; a name under "
                                  "/dev/serial/by-id/ stays the same after re-plugging."))
      << details[0].toStdString();
}

}  // namespace
}  // namespace rkvt
