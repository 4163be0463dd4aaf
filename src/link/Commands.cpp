#include "link/Commands.h"

#include <algorithm>
#include <array>

#include "link/CommandContext.h"
#include "link/FirmwareTransfer.h"
#include "link/SoftwareLevel.h"

namespace rkvt {

namespace {

// Further response codes beside each command's own.
constexpr std::uint8_t kSetupRefusedResponse = 0x27;
constexpr std::uint8_t kLoopOffResponse = 0x32;
constexpr std::uint8_t kLoopBusyResponse = 0x33;

// Sub-codes of the statistics pages: the state page of either layout, then pages 2 and 3.
constexpr std::uint8_t kStatePageFirst = 1;
constexpr std::uint8_t kStatePageSecondGeneration = 7;

const CommandInfo& Info(std::uint8_t command) { return *FindCommand(command); }

std::span<std::uint8_t, kAnswerRecordSize> RecordAt(std::span<std::uint8_t> reply, std::size_t at = 0) {
  return reply.subspan(at).first<kAnswerRecordSize>();
}

FrameFault AnswerFault(FaultKind kind, std::uint8_t got, std::uint8_t wanted) {
  return {.kind = kind, .stage = FaultStage::Answer, .got = got, .wanted = wanted};
}

// Request, answer, and the answer's address checked: what most commands do.
// Returns the response code of an answer from the right address, or nothing.
std::optional<std::uint8_t> Exchange(CommandContext& ctx, std::uint8_t code, std::size_t dataCount,
                                     std::size_t at = 0) {
  if (!ctx.Ok(ctx.link.SendRequest(code, ctx.reply, dataCount))) return std::nullopt;
  if (!ctx.Ok(ctx.link.ReadAnswer(RecordAt(ctx.reply, at)))) return std::nullopt;
  const std::uint8_t expected = ExpectedAnswerAddress(ctx.link.Address());
  if (ctx.reply[at] != expected) {
    ctx.fault = AnswerFault(FaultKind::WrongAddress, ctx.reply[at], expected);
    return std::nullopt;
  }
  return ctx.reply[at + 1];
}

// The answer's response code and byte 3 as the command wants them.
bool Accept(CommandContext& ctx, std::optional<std::uint8_t> response, std::uint8_t wanted,
            std::optional<std::uint8_t> byte3 = std::nullopt, std::size_t at = 0) {
  if (!response) return false;
  if (*response != wanted) {
    ctx.fault = AnswerFault(FaultKind::WrongResponse, *response, wanted);
    return false;
  }
  if (byte3 && ctx.reply[at + 3] != *byte3) {
    ctx.fault = AnswerFault(FaultKind::WrongRepeat, ctx.reply[at + 3], *byte3);
    return false;
  }
  return true;
}

struct Outcome {
  std::uint8_t done, failed, stopped;
};

std::uint8_t Judge(const CommandContext& ctx, bool accepted, Outcome outcome) {
  // The stop test comes last: even an accepted answer counts as stopped.
  if (ctx.Stopped()) return outcome.stopped;
  return accepted ? outcome.done : outcome.failed;
}

// A command's own done / failed / stopped triple, from the command table.
Outcome Triple(const CommandInfo& c) { return {c.results[0], c.results[1], c.results[2]}; }

// What the commands of the common pattern check beyond address and response.
enum class Extra { None, Byte3Zero, Byte3RepeatsPage };

template <std::uint8_t Command, Extra E>
std::uint8_t RunCommon(CommandContext& ctx) {
  const CommandInfo& c = Info(Command);
  const std::uint8_t page = ctx.reply[2];  // noted before the answer overwrites it
  std::optional<std::uint8_t> byte3;
  if (E == Extra::Byte3Zero) byte3 = 0;
  if (E == Extra::Byte3RepeatsPage) byte3 = page;
  const bool accepted = Accept(ctx, Exchange(ctx, c.codeByte, c.requestSize), c.response, byte3);
  return Judge(ctx, accepted, Triple(c));
}

std::uint8_t RunIdentify(CommandContext& ctx) {
  const CommandInfo& c = Info(command::kIdentify);
  auto& reply = ctx.reply;
  if (Accept(ctx, Exchange(ctx, c.codeByte, 0), c.response, 0)) {
    // Frame bytes 5, 6, 7, 8 and 10 carry the identification.
    const std::array<std::uint8_t, 5> id{reply[4], reply[5], reply[6], reply[7], reply[9]};
    std::copy(id.begin(), id.end(), reply.begin() + 1);
    return ctx.Stopped() ? result::kIdentifyStopped : result::kIdentifiedWorking;
  }
  if (ctx.Stopped()) return result::kIdentifyStopped;
  if (!ctx.local) return result::kIdentifyFailed;

  // A local modem that stays silent in the working framing may be in its loader.
  ctx.worker.Pause(100);
  const auto values = ctx.link.LoaderQuery(c.codeByte);
  if (ctx.Stopped()) return result::kIdentifyStopped;
  if (!ctx.Ok(values)) return result::kIdentifyFailed;
  reply[1] = static_cast<std::uint8_t>(values->value1 >> 8);
  reply[2] = static_cast<std::uint8_t>(values->value1 & 0xFF);
  reply[3] = static_cast<std::uint8_t>(values->value2 >> 8);
  reply[4] = static_cast<std::uint8_t>(values->value2 & 0xFF);
  return result::kIdentifiedLoader;
}

std::uint8_t RunResetViaLoader(CommandContext& ctx) {
  const CommandInfo& c = Info(command::kResetViaLoader);
  const bool done = ctx.Ok(ctx.link.LoaderCommand(c.codeByte));
  return Judge(ctx, done, Triple(c));
}

std::uint8_t RunEnterSetup(CommandContext& ctx) {
  const CommandInfo& c = Info(command::kEnterSetup);
  const auto response = Exchange(ctx, c.codeByte, c.requestSize);
  if (ctx.Stopped()) return result::kEnterSetupStopped;
  if (response == kSetupRefusedResponse) return result::kSetupRefused;
  return Accept(ctx, response, c.response) ? result::kSetupEntered : result::kEnterSetupFailed;
}

std::uint8_t RunGetStatistics(CommandContext& ctx) {
  const CommandInfo& c = Info(command::kGetStatistics);
  const std::uint8_t first = ctx.softwareLevel >= kSecondGenerationLevel ? kStatePageSecondGeneration : kStatePageFirst;
  const std::array<std::uint8_t, 3> pages{first, 2, 3};
  bool accepted = true;
  for (std::size_t i = 0; i < pages.size() && accepted; ++i) {
    const std::size_t at = i * kAnswerRecordSize;
    ctx.reply[1] = 0;
    ctx.reply[2] = pages[i];
    accepted = Accept(ctx, Exchange(ctx, c.codeByte, c.requestSize, at), c.response, pages[i], at);
  }
  return Judge(ctx, accepted, Triple(c));
}

std::uint8_t RunConnectLoop(CommandContext& ctx) {
  const CommandInfo& c = Info(command::kConnectLoop);
  std::uint8_t result = result::kConnectLoopFailed;
  if (!ctx.Ok(ctx.link.SendRequest(c.codeByte, ctx.reply, c.requestSize))) {
    result = result::kConnectLoopFailed;
  } else if (!ctx.Ok(ctx.link.ReadAnswer(RecordAt(ctx.reply)))) {
    result = result::kConnectLoopNoAnswer;
  } else if (const std::uint8_t expected = ExpectedAnswerAddress(ctx.link.Address()); ctx.reply[0] != expected) {
    ctx.fault = AnswerFault(FaultKind::WrongAddress, ctx.reply[0], expected);
  } else if (ctx.reply[1] == c.response) {
    result = result::kLoopConnected;
  } else if (ctx.reply[1] == kLoopOffResponse) {
    result = result::kConnectLoopAnswered32;
  } else if (ctx.reply[1] == kLoopBusyResponse) {
    result = result::kConnectLoopBusy;
  } else {
    ctx.fault = AnswerFault(FaultKind::WrongResponse, ctx.reply[1], c.response);
  }
  return ctx.Stopped() ? result::kConnectLoopStopped : result;
}

std::uint8_t RunDisconnectLoop(CommandContext& ctx) {
  const CommandInfo& c = Info(command::kDisconnectLoop);
  const std::uint8_t noted = ctx.reply[1];
  std::uint8_t result = result::kDisconnectLoopFailed;
  if (!ctx.Ok(ctx.link.SendRequest(c.codeByte, ctx.reply, c.requestSize))) {
    result = result::kDisconnectLoopFailed;
  } else if (!ctx.Ok(ctx.link.ReadAnswer(RecordAt(ctx.reply)))) {
    result = result::kDisconnectLoopNoAnswer;
  } else if (const std::uint8_t expected = ExpectedAnswerAddress(ctx.link.Address()); ctx.reply[0] != expected) {
    ctx.fault = AnswerFault(FaultKind::WrongAddress, ctx.reply[0], expected);
  } else if (Accept(ctx, ctx.reply[1], c.response)) {
    result = result::kLoopDisconnected;
  }
  if (!ctx.Stopped()) return result;
  // A stopped disconnect still tells the modem to end the loop.
  ctx.reply[1] = 0;
  ctx.reply[2] = noted;
  ctx.link.SendRequest(c.codeByte, ctx.reply, c.requestSize);
  return result::kDisconnectLoopStopped;
}

std::uint8_t RunResetLoopStatistics(CommandContext& ctx) {
  const CommandInfo& c = Info(command::kResetLoopStatistics);
  const bool done = ctx.Ok(ctx.link.SendRequest(c.codeByte, ctx.reply, c.requestSize));
  return Judge(ctx, done, Triple(c));
}

struct Runner {
  std::uint8_t command;
  std::uint8_t (*run)(CommandContext&);
};

using namespace command;
constexpr std::array kRunners{
    Runner{kIdentify, &RunIdentify},
    Runner{kUpdateViaLoader, &UpdateViaLoader},
    Runner{kUpdateViaFirmware, &UpdateViaFirmware},
    Runner{kResetViaLoader, &RunResetViaLoader},
    Runner{kReset, &RunCommon<kReset, Extra::Byte3Zero>},
    Runner{kResetSecondStep, &RunCommon<kResetSecondStep, Extra::Byte3Zero>},
    Runner{kEnterSetup, &RunEnterSetup},
    Runner{kExitSetup, &RunCommon<kExitSetup, Extra::None>},
    Runner{kGetStatistics, &RunGetStatistics},
    Runner{kResetStatistics, &RunCommon<kResetStatistics, Extra::None>},
    Runner{kSetNewMode, &RunCommon<kSetNewMode, Extra::None>},
    Runner{kLoadProfile, &RunCommon<kLoadProfile, Extra::None>},
    Runner{kSaveProfile, &RunCommon<kSaveProfile, Extra::None>},
    Runner{kConnectLoop, &RunConnectLoop},
    Runner{kDisconnectLoop, &RunDisconnectLoop},
    Runner{kGetLoopStatistics, &RunCommon<kGetLoopStatistics, Extra::Byte3RepeatsPage>},
    Runner{kResetLoopStatistics, &RunResetLoopStatistics},
};

constexpr bool EveryCommandRuns() {
  if (kRunners.size() != kCommandTable.size()) return false;
  for (std::size_t i = 0; i < kRunners.size(); ++i)
    if (kRunners[i].command != kCommandTable[i].command) return false;
  return true;
}
static_assert(EveryCommandRuns(), "one runner per command of the command table, in its order");

// A command with three results lists them as done, failed, stopped: the
// runners read its triple from there.
constexpr bool TriplesInOrder() {
  for (const CommandInfo& c : kCommandTable) {
    const auto kind = [](std::uint8_t r) { return detail::kResults[r].kind; };
    if (c.results[3] == 0 && (kind(c.results[0]) != ResultKind::Done || kind(c.results[1]) != ResultKind::Failed ||
                              kind(c.results[2]) != ResultKind::Stopped))
      return false;
  }
  return true;
}
static_assert(TriplesInOrder(), "a triple's results are listed as done, failed, stopped");

}  // namespace

const ResultInfo& FindResult(std::uint8_t code) {
  static constexpr ResultInfo kUnknown{0, ResultKind::None, "unknown result"};
  return code < detail::kResults.size() ? detail::kResults[code] : kUnknown;
}

std::uint8_t RunCommand(const CommandInfo& info, CommandContext& ctx) {
  for (const Runner& r : kRunners)
    if (r.command == info.command) return r.run(ctx);
  return result::kNone;
}

}  // namespace rkvt
