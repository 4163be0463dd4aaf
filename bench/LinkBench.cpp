// Prints what one exchange of each transaction routine costs over a pty
// against the emulator, and how that compares with its time on a 115200 baud line.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <functional>

#include "LinkRoutines.h"
#include "ModemEmulator.h"
#include "QtSerialPort.h"

namespace {

constexpr double kBaud = 115200.0;
double LineMicros(int characters) { return characters * 10.0 * 1e6 / kBaud; }

void Measure(const char* name, int characters, int rounds, const std::function<bool()>& exchange) {
  QElapsedTimer clock;
  clock.start();
  int failures = 0;
  for (int i = 0; i < rounds; ++i) failures += exchange() ? 0 : 1;
  const double micros = clock.nsecsElapsed() / 1000.0 / rounds;
  std::printf("%-28s %8.1f us/exchange  line %7.1f us  ratio %.4f  (%d failures)\n", name, micros,
              LineMicros(characters), micros / LineMicros(characters), failures);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 500;
  using namespace rkvt;

  sim::ModemEmulator modem;
  PortSettings settings;
  settings.name = QString::fromStdString(modem.PortPath());
  QtSerialPort port(settings);
  port.Open();
  std::atomic<bool> stop{false};
  LinkRoutines link(port, RequestAddress(true, 1), stop, LinkTimings{});
  std::array<std::uint8_t, 28> buffer{};
  std::array<std::uint8_t, 27> block{};
  block[3] = 0x55;

  std::printf("%d rounds each, unpaced emulator on %s\n", rounds, modem.PortPath().c_str());
  Measure("SendRequest", 2 * 62, rounds, [&] { return link.SendRequest(0x10, buffer, 0); });
  Measure("SendRequest + ReadAnswer", 3 * 62, rounds,
          [&] { return link.SendRequest(3, buffer, 0) && link.ReadAnswer(buffer); });
  Measure("SendRequestTwoReplies", 3 * 62, rounds, [&] { return link.SendRequestTwoReplies(43, block, 26); });

  modem.Configure([](sim::ModemModel& m) { m.LocalIdentity().loader = true; });
  std::array<std::uint8_t, 24> data{};
  data[0] = 1;
  Measure("LoaderCommand", 2 * 31, rounds, [&] { return link.LoaderCommand(0x10); });
  Measure("LoaderQuery", 2 * 31, rounds, [&] { return link.LoaderQuery(3).has_value(); });
  Measure("LoaderWriteBlock", 2 * 31, rounds, [&] { return link.LoaderWriteBlock(0x2B, 0, data); });
  port.Close();
  return 0;
}
