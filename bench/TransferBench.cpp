// Prints what a firmware transfer costs through both forms over a pty against
// the emulator, unpaced and paced at 115200 baud, and the CPU the worker
// burns while it waits for an answer that never comes.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <cstdio>
#include <ctime>
#include <vector>

#include "link/Commands.h"
#include "link/FirmwareTransfer.h"
#include "link/LinkRoutines.h"
#include "sim/ModemEmulator.h"
#include "link/QtSerialPort.h"
#include "link/TProtocol.h"

namespace {

using namespace rkvt;
constexpr double kBaud = 115200.0;

PortSettings On(const sim::ModemEmulator& modem) {
  PortSettings settings;
  settings.name = QString::fromStdString(modem.PortPath());
  return settings;
}

std::vector<std::uint8_t> Image(std::size_t nonBlankSegments) {
  std::vector<std::uint8_t> image(kImageSize, 0xFF);
  for (std::size_t i = 0; i < nonBlankSegments * kSegmentSize; ++i) image[i] = static_cast<std::uint8_t>(i * 13 + 1);
  return image;
}

std::size_t BlocksSent(std::size_t nonBlankSegments) { return nonBlankSegments * 2731; }

// Line time of a transfer: erase steps plus the blocks sent.
double LineSeconds(bool loader, std::size_t blocks) {
  const double perStep = (loader ? 2 * 31 : 3 * 62) * 10.0 / kBaud;
  return (kSegmentCount + blocks) * perStep;
}

double RunTransfer(bool loader, int baud, const std::vector<std::uint8_t>& image) {
  sim::Identity identity{.type = static_cast<std::uint8_t>(loader ? 5 : 6), .version = 0x31, .third = '5', .loader = loader};
  sim::ModemEmulator modem{sim::ModemModel(identity)};
  modem.SetBaudRate(baud);
  std::array<std::uint8_t, 5> reply{};
  const std::uint8_t command = loader ? command::kUpdateViaLoader : command::kUpdateViaFirmware;
  auto* worker = new TProtocol(command, 1, true, reply.size(), reply.data(),
                               {[s = On(modem)] { return std::make_unique<QtSerialPort>(s); }, LinkTimings{}, nullptr, 0,
                                image});
  QEventLoop loop;
  worker->OnTerminate = [&](TProtocol&) { loop.quit(); };
  QElapsedTimer clock;
  clock.start();
  worker->Start();
  loop.exec();
  const double seconds = clock.nsecsElapsed() / 1e9;
  if (reply[0] != (loader ? result::kUpdatedViaLoader : result::kUpdatedViaFirmware))
    std::printf("  (transfer ended with result %u)\n", reply[0]);
  return seconds;
}

void Transfer(const char* name, bool loader, int baud, std::size_t nonBlankSegments) {
  const auto image = Image(nonBlankSegments);
  const double seconds = RunTransfer(loader, baud, image);
  const std::size_t blocks = BlocksSent(nonBlankSegments);
  const double line = LineSeconds(loader, blocks);
  if (baud == 0) {
    std::printf("%-9s unpaced, %zu segments: %7.2f s, %6.1f us per block\n", name, nonBlankSegments, seconds,
                seconds * 1e6 / static_cast<double>(blocks + kSegmentCount));
  } else {
    std::printf("%-9s paced %d baud, %zu segments: %7.2f s against a line minimum of %7.2f s (%+.2f %%)\n", name,
                baud, nonBlankSegments, seconds, line, (seconds / line - 1) * 100);
  }
}

double ThreadCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void IdleWait(int seconds) {
  sim::ModemEmulator modem;
  modem.AddFault({.fault = sim::Fault::NoReply, .reply = sim::ReplyKind::Answer});
  QtSerialPort port(On(modem));
  port.Open();
  std::atomic<bool> stop{false};
  LinkRoutines link(port, RequestAddress(true, 1), stop, {.answerMs = seconds * 1000});
  std::array<std::uint8_t, 28> buffer{};
  link.SendRequest(3, buffer, 0);
  const double cpu0 = ThreadCpuSeconds();
  QElapsedTimer clock;
  clock.start();
  link.ReadAnswer(buffer);
  const double wall = clock.nsecsElapsed() / 1e9;
  const double cpu = ThreadCpuSeconds() - cpu0;
  std::printf("answer wait of %.1f s: %.4f s CPU on the waiting thread (%.3f %% of one core)\n", wall, cpu,
              cpu / wall * 100);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const bool full = argc > 1 && std::string(argv[1]) == "--paced-full";
  Transfer("loader", true, 0, 5);
  Transfer("firmware", false, 0, 5);
  // Paced runs take line time; one non-blank segment unless asked for all five.
  const std::size_t paced = full ? 5 : 1;
  Transfer("loader", true, 115200, paced);
  Transfer("firmware", false, 115200, paced);
  IdleWait(full ? 30 : 10);
  return 0;
}
