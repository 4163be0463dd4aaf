#include "cli/ConfigSession.h"

#include <algorithm>

#include "cli/CliCommands.h"
#include "cli/CliTimings.h"
#include "cli/ExitStatus.h"
#include "cli/Interrupt.h"
#include "cli/ReplyPrinter.h"
#include "cli/WorkerOutcome.h"
#include "link/Commands.h"
#include "link/QtSerialPort.h"
#include "link/ResultCodes.h"
#include "mainwin/Decode.h"
#include "mainwin/MainWindowControls.h"
#include "setup/Rules.h"
#include "setup/SetupResults.h"

namespace rkvt::cli {

namespace {

constexpr std::size_t kRecordAt = 2;  // a record in a reply starts at byte 2

QString Quoted(const QString& text) { return u'"' + text + u'"'; }

}  // namespace

ConfigSession::ConfigSession(const ConfigOptions& options, WorkerRunner& runner, CliHost& host, QTextStream& out,
                             QTextStream& err)
    : options_(options), runner_(runner), host_(host), out_(out), err_(err) {}

std::uint8_t ConfigSession::Step(std::uint8_t command, std::span<const std::uint8_t> data) {
  block_.fill(0);
  std::copy(data.begin(), data.end(), block_.begin() + 1);
  const std::uint8_t result = runner_.Run(command, !options_.remote, block_);
  host_.EndProgressLine();
  if (const setup::SetupResult* known = setup::FindSetupResult(result)) err_ << setup::Text(known->text) << Qt::endl;
  return result;
}

int ConfigSession::Failed(std::uint8_t command, std::uint8_t result) {
  const std::string_view meaning = ResultMeaning(result);
  err_ << "result " << result << ": " << QLatin1String(meaning.data(), static_cast<qsizetype>(meaning.size()))
       << Qt::endl;
  return ExitStatusOf(OutcomeOf(command, result));
}

int ConfigSession::Run() {
  if (const int status = Enter(); status != kExitDone) return status;
  int status = kExitDone;
  switch (options_.action) {
    case ConfigOptions::Action::Show: status = Show(); break;
    case ConfigOptions::Action::Choices: status = Choices(); break;
    case ConfigOptions::Action::Set: status = Set(); break;
  }
  return Exit(status);
}

int ConfigSession::Enter() {
  const std::uint8_t identified = Step(command::kIdentify);
  if (identified == result::kIdentifiedLoader) {
    err_ << "the modem runs its loader; config needs its working firmware" << Qt::endl;
    return kExitFailed;
  }
  if (identified != result::kIdentifiedWorking) return Failed(command::kIdentify, identified);
  MainWindowControls controls;
  const IdentificationOutcome id = DecodeIdentification(block_, controls);
  err_ << "modem: " << controls.StaticTextModem.Text() << ' ' << controls.StaticTextVersion.Text() << ", level "
       << id.softwareLevel << ", variant " << id.modemVariant << Qt::endl;
  if (!id.supported) {
    err_ << "this modem is not supported" << Qt::endl;
    return kExitFailed;
  }
  model_.SetContext({id.softwareLevel, id.modemVariant});

  if (!runner_.StopRequested()) {
    const std::uint8_t entered = Step(command::kEnterSetup);
    if (entered == result::kSetupRefused) {
      err_ << "enter setup refused:" << ActivityText(block_, 4, !options_.remote) << Qt::endl;
      return kExitFailed;
    }
    if (entered != result::kSetupEntered) return Failed(command::kEnterSetup, entered);
    err_ << " Enter modem setup OK." << Qt::endl;
  } else {
    err_ << "stopped before entering setup" << Qt::endl;
    return kExitStopped;
  }
  model_.Build(std::span(block_).subspan(kRecordAt, setup::kRecordSize));
  return kExitDone;
}

void ConfigSession::PrintList() {
  for (const QString& row : model_.List().Rows()) out_ << (options_.markup ? row : setup::PlainRow(row)) << '\n';
  out_.flush();
}

int ConfigSession::Show() {
  PrintList();
  return kExitDone;
}

int ConfigSession::Choices() {
  const setup::Key key = *setup::FindKey(options_.key);
  if (model_.List().Find(options_.key) < 0) {
    err_ << options_.key << ": no row of this modem's list carries it" << Qt::endl;
    return kExitFailed;
  }
  switch (setup::KindOf(key)) {
    case setup::KeyKind::Flip: {
      const auto texts = *setup::FlipTextsOf(key);
      out_ << "flips between " << Quoted(setup::Text(texts.off)) << " and " << Quoted(setup::Text(texts.on)) << '\n';
      break;
    }
    case setup::KeyKind::Display: out_ << "only displays " << Quoted(*model_.List().Value(options_.key)) << '\n'; break;
    default:
      for (const QString& entry : model_.ChoiceList(options_.key)) out_ << entry << '\n';
      break;
  }
  out_ << "help:" << model_.HelpText(options_.key) << Qt::endl;
  return kExitDone;
}

bool ConfigSession::Apply(const QString& name, const QString& value) {
  const setup::Key key = *setup::FindKey(name);
  const auto shown = model_.List().Value(name);
  if (!shown) {
    err_ << name << ": no row of this modem's list carries it" << Qt::endl;
    return false;
  }
  switch (setup::KindOf(key)) {
    case setup::KeyKind::Display:
      err_ << name << " only displays " << Quoted(*shown) << Qt::endl;
      return false;
    case setup::KeyKind::Flip: {
      const auto texts = *setup::FlipTextsOf(key);
      if (value == *shown) return true;
      if (value != setup::Text(texts.off) && value != setup::Text(texts.on)) {
        err_ << name << " flips between " << Quoted(setup::Text(texts.off)) << " and "
             << Quoted(setup::Text(texts.on)) << ", not " << Quoted(value) << Qt::endl;
        return false;
      }
      model_.ClickLink(name);
      return true;
    }
    default: break;
  }
  const QStringList entries = model_.ChoiceList(name);
  if (!entries.contains(value) || setup::IsNotice(value)) {
    err_ << name << ": " << Quoted(value)
         << (setup::IsNotice(value) ? QStringLiteral(" names no interface") : QStringLiteral(" is not a choice"))
         << "; its choices:" << Qt::endl;
    for (const QString& entry : entries) err_ << "  " << entry << Qt::endl;
    return false;
  }
  model_.Choose(name, value);
  return true;
}

int ConfigSession::Set() {
  const setup::RecordBytes received = model_.Record().Received();
  for (const auto& [key, value] : options_.changes) {
    if (!Apply(key, value)) {
      err_ << "nothing was sent" << Qt::endl;
      return kExitFailed;
    }
    // As after a set new mode that succeeded: later keys see the rows the change brings.
    if (model_.SendDue()) model_.RebuildFromWorking();
  }
  const setup::RecordBytes wanted = model_.Record().Working();
  if (wanted == received) {
    err_ << "no change: nothing to send" << Qt::endl;
    PrintList();
    return kExitDone;
  }
  if (runner_.StopRequested()) return kExitStopped;
  const std::uint8_t sent = Step(command::kSetNewMode, wanted);
  const bool done = sent == command::kSetNewMode;  // its done result carries its own code
  model_.Build(done ? wanted : received);
  PrintList();
  return done ? kExitDone : ExitStatusOf(OutcomeOf(command::kSetNewMode, sent));
}

int ConfigSession::Exit(int status) {
  const setup::ExitPayload payload = model_.Record().Payload();
  if (runner_.StopRequested()) {
    err_ << "stopped; the modem stays in setup (r-kvt-ms-cli exit-setup " << HexBytes(payload).remove(u' ')
         << " leaves it)" << Qt::endl;
    return kExitStopped;
  }
  const std::uint8_t left = Step(command::kExitSetup, payload);
  if (left != command::kExitSetup) return std::max(status, Failed(command::kExitSetup, left));
  return status;
}

int RunConfigCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  const ParsedConfig parsed = ParseConfigArguments(arguments);
  if (parsed.kind == ParsedConfig::Kind::Help) {
    out << UsageText() << ConfigUsageText();
    return kExitDone;
  }
  if (parsed.kind == ParsedConfig::Kind::Usage) {
    err << "r-kvt-ms-cli: " << parsed.error << "\n(r-kvt-ms-cli --help lists the commands)" << Qt::endl;
    return kExitUsage;
  }
  const ConfigOptions& options = parsed.options;
  InstallInterruptHandler();
  PortSettings settings;
  settings.name = options.port;
  CliHost host;
  WorkerRunner runner([settings] { return std::make_unique<QtSerialPort>(settings); },
                      options.fastTimeouts ? kFastTimings : LinkTimings{}, host, InterruptCount);
  return ConfigSession(options, runner, host, out, err).Run();
}

}  // namespace rkvt::cli
