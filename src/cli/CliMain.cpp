// r-kvt-ms-cli: one modem command from the command line, for scripts and diagnostics.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <QTextStream>

#include "cli/CliArguments.h"
#include "cli/CliHost.h"
#include "cli/CliSession.h"
#include "cli/CliTimings.h"
#include "cli/ConfigSession.h"
#include "cli/ExitStatus.h"
#include "link/ImageGeometry.h"
#include "cli/Interrupt.h"
#include "link/QtSerialPort.h"
#include "link/TracingPort.h"
#include "cli/ReplyPrinter.h"
#include "cli/WorkerRunner.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  using namespace rkvt::cli;

  if (IsConfigCommand(app.arguments().mid(1))) return RunConfigCommand(app.arguments().mid(1), out, err);
  const ParsedArguments parsed = ParseArguments(app.arguments().mid(1));
  if (parsed.kind == ParsedArguments::Kind::Help) {
    out << UsageText() << ConfigUsageText();
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
