// Prints what one exchange of each transaction routine costs over a pty
// against the emulator, and how that compares with its time on a 115200 baud line.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <thread>
#include <vector>

#include "link/LinkRoutines.h"
#include "sim/ModemEmulator.h"
#include "link/QtSerialPort.h"

namespace {

constexpr double kBaud = 115200.0;
double LineMicros(int characters) { return characters * 10.0 * 1e6 / kBaud; }

// CPU time of the calling thread: the link's own work, without the
// emulator's and without the time spent blocked.
double ThreadCpuMicros() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

void Measure(const char* name, int characters, int rounds, const std::function<bool()>& exchange) {
  QElapsedTimer clock;
  clock.start();
  const double cpuStart = ThreadCpuMicros();
  int failures = 0;
  for (int i = 0; i < rounds; ++i) failures += exchange() ? 0 : 1;
  const double micros = clock.nsecsElapsed() / 1000.0 / rounds;
  const double cpu = (ThreadCpuMicros() - cpuStart) / rounds;
  std::printf("%-26s %7.1f us/exchange (own cpu %5.1f us)  line %7.1f us  ratio %.4f (cpu %.4f)  (%d failures)\n",
              name, micros, cpu, LineMicros(characters), micros / LineMicros(characters), cpu / LineMicros(characters),
              failures);
}

// How long the answer wait goes on after a stop request, over `rounds` stops
// made at different points of the wait.
void MeasureStopLatency(rkvt::sim::ModemEmulator& modem, rkvt::LinkRoutines& link, std::atomic<bool>& stop,
                        int rounds) {
  using namespace std::chrono;
  modem.AddFault({.fault = rkvt::sim::Fault::NoReply, .reply = rkvt::sim::ReplyKind::Answer});
  std::array<std::uint8_t, 28> buffer{};
  std::vector<double> latencies;
  for (int i = 0; i < rounds; ++i) {
    stop = false;
    if (!link.SendRequest(3, buffer, 0)) continue;
    steady_clock::time_point stoppedAt;
    std::thread stopper([&] {
      std::this_thread::sleep_for(microseconds(5000 + 997 * (i % 23)));
      stoppedAt = steady_clock::now();
      stop = true;
    });
    link.ReadAnswer(buffer);
    const auto ended = steady_clock::now();
    stopper.join();
    latencies.push_back(duration<double, std::milli>(ended - stoppedAt).count());
  }
  modem.ClearFaults();
  stop = false;
  if (latencies.empty()) return;
  std::sort(latencies.begin(), latencies.end());
  std::printf("%-28s median %.2f ms  max %.2f ms over %zu stops (the wait has slices of 10 ms)\n",
              "stop during an answer wait", latencies[latencies.size() / 2], latencies.back(), latencies.size());
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
  Measure("SendRequest", 2 * 62, rounds, [&] { return static_cast<bool>(link.SendRequest(0x10, buffer, 0)); });
  Measure("SendRequest + ReadAnswer", 3 * 62, rounds,
          [&] { return link.SendRequest(3, buffer, 0) && link.ReadAnswer(buffer); });
  Measure("SendRequestTwoReplies", 3 * 62, rounds, [&] { return static_cast<bool>(link.SendRequestTwoReplies(43, block, 26)); });

  MeasureStopLatency(modem, link, stop, std::min(rounds, 100));

  modem.Configure([](sim::ModemModel& m) { m.LocalIdentity().loader = true; });
  std::array<std::uint8_t, 24> data{};
  data[0] = 1;
  Measure("LoaderCommand", 2 * 31, rounds, [&] { return static_cast<bool>(link.LoaderCommand(0x10)); });
  Measure("LoaderQuery", 2 * 31, rounds, [&] { return static_cast<bool>(link.LoaderQuery(3)); });
  Measure("LoaderWriteBlock", 2 * 31, rounds, [&] { return static_cast<bool>(link.LoaderWriteBlock(0x2B, 0, data)); });
  port.Close();
  return 0;
}
