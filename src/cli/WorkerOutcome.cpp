#include "cli/WorkerOutcome.h"

#include <array>

#include "cli/ExitStatus.h"
#include "link/Commands.h"

namespace rkvt::cli {

Outcome OutcomeOf(std::uint8_t command, std::uint8_t result) {
  const CommandInfo* c = FindCommand(command);
  if (c == nullptr || !c->Gives(result)) return Outcome::Failed;
  switch (FindResult(result).kind) {
    case ResultKind::Done: return Outcome::Done;
    case ResultKind::Stopped:
    case ResultKind::PortError: return Outcome::Stopped;
    default: return Outcome::Failed;
  }
}

int ExitStatusOf(Outcome outcome) {
  static constexpr std::array kExitStatuses{kExitDone, kExitFailed, kExitStopped};
  return kExitStatuses[static_cast<std::size_t>(outcome)];
}

}  // namespace rkvt::cli
