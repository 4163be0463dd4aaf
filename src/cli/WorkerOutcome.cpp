#include "cli/WorkerOutcome.h"

#include <algorithm>

#include "link/Commands.h"
#include "cli/ExitStatus.h"

namespace rkvt::cli {

namespace {

constexpr std::size_t kRecord = 28;
constexpr std::size_t kStatistics = 84;

// Identification, reset and firmware transfer talk to sub-address 1, the rest to 2.
constexpr std::array kWorkerCommands{
    WorkerCommand{command::kIdentify, 1, {1, 2}, 4, 0, kRecord},
    WorkerCommand{command::kUpdateViaLoader, 1, {5, 0}, 9, 0, kRecord},
    WorkerCommand{command::kUpdateViaFirmware, 1, {6, 0}, 9, 0, kRecord},
    WorkerCommand{command::kResetViaLoader, 1, {10, 0}, 13, 0, kRecord},
    WorkerCommand{command::kReset, 1, {11, 0}, 13, 0, kRecord},
    WorkerCommand{command::kResetSecondStep, 1, {14, 0}, 16, 0, kRecord},
    WorkerCommand{command::kEnterSetup, 2, {18, 0}, 21, 19, kRecord},
    WorkerCommand{command::kExitSetup, 2, {22, 0}, 24, 0, kRecord},
    WorkerCommand{command::kGetStatistics, 2, {25, 0}, 27, 0, kStatistics},
    WorkerCommand{command::kResetStatistics, 2, {28, 0}, 30, 0, kRecord},
    WorkerCommand{command::kSetNewMode, 2, {31, 0}, 33, 0, kRecord},
    WorkerCommand{command::kLoadProfile, 2, {34, 0}, 36, 0, kRecord},
    WorkerCommand{command::kSaveProfile, 2, {37, 0}, 39, 0, kRecord},
    WorkerCommand{command::kConnectLoop, 2, {40, 0}, 41, 44, kRecord},
    WorkerCommand{command::kDisconnectLoop, 2, {46, 0}, 47, 0, kRecord},
    WorkerCommand{command::kGetLoopStatistics, 2, {50, 0}, 52, 0, kRecord},
    WorkerCommand{command::kResetLoopStatistics, 2, {53, 0}, 55, 0, kRecord},
};

constexpr std::array kExitStatuses{kExitDone, kExitFailed, kExitStopped};

}  // namespace

const WorkerCommand* FindWorkerCommand(std::uint8_t command) {
  const auto it = std::find_if(kWorkerCommands.begin(), kWorkerCommands.end(),
                               [command](const WorkerCommand& c) { return c.command == command; });
  return it == kWorkerCommands.end() ? nullptr : &*it;
}

Outcome OutcomeOf(std::uint8_t command, std::uint8_t result) {
  if (result == result::kPortError) return Outcome::Stopped;
  const WorkerCommand* c = FindWorkerCommand(command);
  if (c == nullptr || result == 0) return Outcome::Failed;
  if (result == c->done[0] || result == c->done[1]) return Outcome::Done;
  return result == c->stopped ? Outcome::Stopped : Outcome::Failed;
}

int ExitStatusOf(Outcome outcome) { return kExitStatuses[static_cast<std::size_t>(outcome)]; }

}  // namespace rkvt::cli
