// r-kvt-ms-cli: one modem command from the command line, for scripts and diagnostics.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <QTextStream>

#include "cli/CliArguments.h"
#include "cli/CliHost.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "link/ImageGeometry.h"
#include "cli/Interrupt.h"
#include "link/QtSerialPort.h"
#include "link/TracingPort.h"
#include "cli/ReplyPrinter.h"
#include "cli/WorkerRunner.h"

namespace {

// Short enough that a silent modem costs a test little, long enough for a pty.
constexpr rkvt::LinkTimings kFastTimings{.acknowledgementMs = 150, .answerMs = 1500, .attempts = 3};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  using namespace rkvt::cli;

  const ParsedArguments parsed = ParseArguments(app.arguments().mid(1));
  if (parsed.kind == ParsedArguments::Kind::Help) {
    out << UsageText();
    return kExitDone;
  }
  if (parsed.kind == ParsedArguments::Kind::Usage) {
    err << "r-kvt-ms-cli: " << parsed.error << "\n(r-kvt-ms-cli --help lists the commands)" << Qt::endl;
    return kExitUsage;
  }
  const CliOptions& options = parsed.options;
  InstallInterruptHandler();

  rkvt::PortSettings settings;
  settings.name = options.port;
  const rkvt::LinkTimings timings = options.fastTimeouts ? kFastTimings : rkvt::LinkTimings{};
  QElapsedTimer clock;
  clock.start();
  CliHost host(rkvt::kImageSize);
  WorkerRunner runner(
      [settings, timings, &clock, trace = options.trace]() -> std::unique_ptr<rkvt::SerialPort> {
        auto port = std::make_unique<rkvt::QtSerialPort>(settings);
        if (!trace) return port;
        // Written from the worker thread straight to stderr, a line at a time.
        return std::make_unique<rkvt::TracingPort>(std::move(port), settings.name, timings.attempts, clock,
                                                   [](const QString& line) {
                                                     std::fputs(qPrintable(line + QLatin1Char('\n')), stderr);
                                                     std::fflush(stderr);
                                                   });
      },
      timings, host, InterruptCount);
  ReplyPrinter printer(out);
  return CliSession(options, runner, host, printer, err).Run();
}
