// r-kvt-ms-cli: one modem command from the command line, for scripts and diagnostics.
#include <QCoreApplication>
#include <QTextStream>

#include "cli/CliArguments.h"
#include "cli/CliHost.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "link/ImageGeometry.h"
#include "cli/Interrupt.h"
#include "link/QtSerialPort.h"
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
  CliHost host(rkvt::kImageSize);
  WorkerRunner runner([settings] { return std::make_unique<rkvt::QtSerialPort>(settings); },
                      options.fastTimeouts ? kFastTimings : rkvt::LinkTimings{}, host, InterruptCount);
  ReplyPrinter printer(out);
  return CliSession(options, runner, host, printer, err).Run();
}
