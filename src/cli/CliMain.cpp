// r-kvt-ms-cli: one modem command from the command line, for scripts and diagnostics.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <csignal>
#include <cstdio>

#include "CliHost.h"
#include "Commands.h"
#include "QtSerialPort.h"
#include "ResultCodes.h"
#include "TProtocol.h"

namespace {

volatile std::sig_atomic_t gInterrupted = 0;
void OnInterrupt(int) { gInterrupted = 1; }

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitStopped = 2;
constexpr int kExitUsage = 64;

const char* const kUsage =
    "usage: r-kvt-ms-cli --port NAME [--remote] COMMAND\n"
    "commands:\n"
    "  identify      read the modem's type and firmware version\n"
    "Prints the result code, its meaning and the reply bytes in hex.\n"
    "Exit status: 0 done, 1 failed, 2 stopped or port error, 64 usage.\n"
    "Ctrl-C asks the running command to stop, as the Stop button would.\n";

struct Options {
  QString port;
  bool local = true;
  QString command;
};

bool Parse(const QStringList& args, Options& options) {
  for (int i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == "--port" && i + 1 < args.size()) options.port = args[++i];
    else if (arg == "--remote") options.local = false;
    else if (options.command.isEmpty() && !arg.startsWith("-")) options.command = arg;
    else return false;
  }
  return !options.port.isEmpty() && !options.command.isEmpty();
}

// Runs one worker to its end; Ctrl-C becomes a stop request.
std::uint8_t Run(std::uint8_t command, std::uint8_t subAddress, const Options& options,
                 std::span<std::uint8_t> reply, rkvt::ProtocolHost& host) {
  rkvt::PortSettings settings;
  settings.name = options.port;
  auto* worker = new rkvt::TProtocol(
      command, subAddress, options.local, static_cast<std::uint16_t>(reply.size()), reply.data(),
      {[settings] { return std::make_unique<rkvt::QtSerialPort>(settings); }, rkvt::LinkTimings{}, &host, 0});
  QEventLoop loop;
  worker->OnTerminate = [&loop](rkvt::TProtocol&) { loop.quit(); };
  QTimer interruptWatch;
  QObject::connect(&interruptWatch, &QTimer::timeout, [worker] {
    if (gInterrupted) worker->Terminate();
  });
  interruptWatch.start(20);
  worker->Start();
  loop.exec();
  return reply[0];
}

void PrintReply(std::uint8_t result, std::span<const std::uint8_t> bytes) {
  std::printf("result %u: %s\nreply:", result, std::string(rkvt::ResultMeaning(result)).c_str());
  for (std::uint8_t b : bytes) std::printf(" %02X", b);
  std::printf("\n");
}

int ExitStatus(std::uint8_t result, std::uint8_t stoppedCode) {
  if (result == rkvt::result::kPortError || result == stoppedCode) return kExitStopped;
  return kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Options options;
  const QStringList args = app.arguments();
  if (args.contains("--help") || args.contains("-h")) {
    std::fputs(kUsage, stdout);
    return kExitDone;
  }
  if (!Parse(args, options) || options.command != "identify") {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);

  rkvt::cli::CliHost host;
  std::array<std::uint8_t, 120> reply{};
  const std::uint8_t result = Run(rkvt::command::kIdentify, 1, options, reply, host);
  PrintReply(result, std::span(reply).first(28));
  const bool done = result == rkvt::result::kIdentifiedWorking || result == rkvt::result::kIdentifiedLoader;
  return done ? kExitDone : ExitStatus(result, rkvt::result::kIdentifyStopped);
}
