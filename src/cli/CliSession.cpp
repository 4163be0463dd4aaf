#include "cli/CliSession.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "link/Commands.h"
#include "cli/ExitStatus.h"
#include "firmware/ImageBuffer.h"
#include "firmware/ImageFile.h"
#include "link/ResultCodes.h"
#include "link/SoftwareLevel.h"
#include "link/TestKinds.h"
#include "cli/LoopCounters.h"

namespace rkvt::cli {

CliSession::CliSession(const CliOptions& options, WorkerRunner& runner, CliHost& host, ReplyPrinter& out,
                       QTextStream& err)
    : options_(options), runner_(runner), host_(host), out_(out), err_(err) {}

int CliSession::Run() {
  static constexpr std::array<std::pair<Road, int (CliSession::*)()>, 8> kRoads{{
      {Road::Identify, &CliSession::RunIdentify},
      {Road::Single, &CliSession::RunSingle},
      {Road::Levelled, &CliSession::RunLevelled},
      {Road::Reset, &CliSession::RunReset},
      {Road::Update, &CliSession::RunUpdate},
      {Road::CheckImage, &CliSession::RunCheckImage},
      {Road::LoopConnect, &CliSession::RunLoopConnect},
      {Road::LoopTest, &CliSession::RunLoopTest},
  }};
  const auto it = std::find_if(kRoads.begin(), kRoads.end(),
                               [this](const auto& entry) { return entry.first == options_.command->road; });
  return (this->*(it->second))();
}

Outcome CliSession::Step(std::uint8_t command, bool local, std::span<const std::uint8_t> data, int softwareLevel,
                         std::span<const std::uint8_t> image) {
  block_.fill(0);
  std::copy(data.begin(), data.end(), block_.begin() + 1);
  const std::uint8_t result = runner_.Run(command, local, block_, softwareLevel, image);
  host_.EndProgressLine();
  const WorkerCommand* info = FindWorkerCommand(command);
  out_.Result(result, std::span(block_).first(info->replyShown));
  if (info->refused != 0 && result == info->refused) out_.Refusal(std::span(block_).subspan(kRefusalAt, kRefusalSize));
  if (command == command::kGetStatistics && result == result::kStatisticsDone) {
    for (const QString& line : windowTexts_.Statistics(block_, local)) out_.Line(line);
  }
  return OutcomeOf(command, result);
}

CliSession::Identification CliSession::Identify(bool local) {
  const Outcome outcome = Step(command::kIdentify, local, {});
  if (outcome != Outcome::Done) return {outcome, false, 0};
  // Both answers carry type, version and third character in bytes 2 to 4.
  const int level = SoftwareLevel(block_[2], block_[3], block_[4]);
  out_.Level(level);
  // The window's words belong to the commands that show the modem; the other
  // roads identify only to learn the level.
  const std::uint8_t shown = options_.command->command;
  const QStringList texts = windowTexts_.Identification(block_);
  if (shown == command::kIdentify || shown == command::kGetStatistics) {
    for (const QString& line : texts) out_.Line(line);
  }
  return {outcome, block_[0] == result::kIdentifiedWorking, level};
}

bool CliSession::MayGoOn() {
  if (!runner_.StopRequested()) return true;
  err_ << "stopped before the next step" << Qt::endl;
  return false;
}

bool CliSession::ReportImageCheck(const ImageValidation& check) {
  // The check's own message, word for word; a passing image shows its version.
  if (!check.ok) out_.Line(check.message);
  else out_.Line(check.version.isEmpty() ? QStringLiteral("OK") : QStringLiteral("OK ") + check.version);
  return check.ok;
}

int CliSession::Refuse(const QString& why) {
  err_ << why << Qt::endl;
  return kExitFailed;
}

int CliSession::RunIdentify() { return ExitStatusOf(Identify(!options_.remote).outcome); }

int CliSession::RunSingle() {
  return ExitStatusOf(Step(options_.command->command, !options_.remote, options_.requestData));
}

int CliSession::RunLevelled() {
  const bool local = !options_.remote;
  const Identification id = Identify(local);
  if (id.outcome != Outcome::Done) return ExitStatusOf(id.outcome);
  if (!id.working)
    return Refuse(
        QStringLiteral("the modem runs its loader; %1 needs its working firmware").arg(Text(options_.command->name)));
  if (!MayGoOn()) return kExitStopped;
  std::vector<std::uint8_t> data = options_.requestData;
  if (options_.test) data = {0, LoopPageCode(*options_.test, id.level)};
  return ExitStatusOf(Step(options_.command->command, local, data, id.level));
}

int CliSession::RunReset() {
  const Identification id = Identify(true);
  if (id.outcome != Outcome::Done) return ExitStatusOf(id.outcome);
  if (!MayGoOn()) return kExitStopped;
  if (!id.working) return ExitStatusOf(Step(command::kResetViaLoader, true, {}));
  const Outcome first = Step(command::kReset, true, {});
  if (first != Outcome::Done) return ExitStatusOf(first);
  if (!MayGoOn()) return kExitStopped;
  return ExitStatusOf(Step(command::kResetSecondStep, true, {}));
}

int CliSession::RunUpdate() {
  const Identification id = Identify(true);
  if (id.outcome != Outcome::Done) return ExitStatusOf(id.outcome);
  const auto image = std::make_unique<ImageBuffer>();
  const ImageValidation check = ValidateImageFile(options_.imageFile, id.level, *image);
  if (!ReportImageCheck(check)) return kExitFailed;
  if (!MayGoOn()) return kExitStopped;
  const std::uint8_t command = id.working ? command::kUpdateViaFirmware : command::kUpdateViaLoader;
  return ExitStatusOf(Step(command, true, {}, id.level, image->Bytes()));
}

int CliSession::RunCheckImage() {
  int level = 0;
  if (options_.level) {
    level = *options_.level;
  } else {
    const Identification id = Identify(!options_.remote);
    if (id.outcome != Outcome::Done) return ExitStatusOf(id.outcome);
    level = id.level;
  }
  const auto image = std::make_unique<ImageBuffer>();
  const ImageValidation check = ValidateImageFile(options_.imageFile, level, *image);
  return ReportImageCheck(check) ? kExitDone : kExitFailed;
}

bool CliSession::PortFailed() const { return block_[0] == result::kPortError; }

int CliSession::EndLoop(bool local, bool stopped) {
  // The stop that got us here must not stop the disconnect too.
  runner_.ForgiveStops();
  const Outcome off = Step(command::kDisconnectLoop, local, std::array<std::uint8_t, 2>{0, options_.test->code});
  if (off != Outcome::Done) return ExitStatusOf(off);
  return stopped ? kExitStopped : kExitDone;
}

int CliSession::RunLoopConnect() {
  const bool local = !options_.remote;
  const Outcome connect = Step(command::kConnectLoop, local, options_.requestData);
  // A connect stopped while the modem was switching the loop on must not leave it on.
  if (connect == Outcome::Stopped && !PortFailed()) return EndLoop(local, true);
  return ExitStatusOf(connect);
}

int CliSession::RunLoopTest() {
  const bool local = !options_.remote;
  const Identification id = Identify(local);
  if (id.outcome != Outcome::Done) return ExitStatusOf(id.outcome);
  if (!id.working) return Refuse(QStringLiteral("the modem runs its loader; loop-test needs its working firmware"));
  LoopCounters counters(static_cast<int>(options_.test - TestKinds().data()), block_);
  if (!MayGoOn()) return kExitStopped;
  const Outcome connect = Step(command::kConnectLoop, local, options_.requestData);
  if (connect == Outcome::Stopped && !PortFailed()) return EndLoop(local, true);
  if (connect != Outcome::Done) return ExitStatusOf(connect);

  const std::array<std::uint8_t, 2> page{0, LoopPageCode(*options_.test, id.level)};
  const int interval = options_.intervalMs.value_or(CliOptions::kDefaultIntervalMs);
  for (int poll = 1; !options_.polls || poll <= *options_.polls; ++poll) {
    // The first read right after the connect, as the window does.
    if (poll > 1 && !runner_.Wait(interval)) return EndLoop(local, true);
    block_.fill(0);
    std::copy(page.begin(), page.end(), block_.begin() + 1);
    const std::uint8_t result = runner_.Run(command::kGetLoopStatistics, local, block_, id.level);
    host_.EndProgressLine();
    const std::string_view meaning = ResultMeaning(result);
    out_.Line(QStringLiteral("poll %1: ").arg(poll) +
              (result == result::kLoopStatisticsDone
                   ? counters.Line(block_)
                   : QStringLiteral("result %1: %2").arg(result).arg(QLatin1String(meaning.data(), meaning.size()))));
    if (PortFailed()) return kExitStopped;
    // A failed read leaves the test running; the next read may succeed.
    if (OutcomeOf(command::kGetLoopStatistics, result) == Outcome::Stopped) return EndLoop(local, true);
  }
  return EndLoop(local, false);
}

}  // namespace rkvt::cli
