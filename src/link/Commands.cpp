#include "link/Commands.h"

#include <algorithm>
#include <array>

#include "link/FirmwareTransfer.h"

namespace rkvt {

namespace {

std::span<std::uint8_t, kAnswerRecordSize> RecordAt(std::span<std::uint8_t> reply, std::size_t at = 0) {
  return reply.subspan(at).first<kAnswerRecordSize>();
}

// Request, answer, and the answer's address and response code checked: what
// most commands do. Returns the response code of an answer from the right
// address, or nothing.
std::optional<std::uint8_t> Exchange(CommandContext& ctx, std::uint8_t code, std::size_t dataCount,
                                     std::size_t at = 0) {
  if (!ctx.link.SendRequest(code, ctx.reply, dataCount)) return std::nullopt;
  if (!ctx.link.ReadAnswer(RecordAt(ctx.reply, at))) return std::nullopt;
  if (ctx.reply[at] != ExpectedAnswerAddress(ctx.link.Address())) return std::nullopt;
  return ctx.reply[at + 1];
}

struct Outcome {
  std::uint8_t done, failed, stopped;
};

std::uint8_t Judge(const CommandContext& ctx, bool accepted, Outcome outcome) {
  // The stop test comes last: even an accepted answer counts as stopped.
  if (ctx.Stopped()) return outcome.stopped;
  return accepted ? outcome.done : outcome.failed;
}

// The commands that follow the common pattern, as a table.
enum class Extra { None, Byte3Zero, Byte3RepeatsPage };
struct Common {
  std::uint8_t command;
  std::uint8_t code;
  std::size_t dataCount;
  std::uint8_t response;
  Extra extra;
  Outcome outcome;
};

constexpr std::array kCommon{
    Common{command::kReset, 2, 0, 0x02, Extra::Byte3Zero, {11, 12, 13}},
    Common{command::kResetSecondStep, 4, 0, 0x04, Extra::Byte3Zero, {14, 15, 16}},
    Common{command::kExitSetup, 24, 4, 0x26, Extra::None, {22, 23, 24}},
    Common{command::kResetStatistics, 4, 0, 0x2A, Extra::None, {28, 29, 30}},
    Common{command::kSetNewMode, 20, 26, 0x22, Extra::None, {31, 32, 33}},
    Common{command::kLoadProfile, 22, 2, 0x24, Extra::None, {34, 35, 36}},
    Common{command::kSaveProfile, 21, 2, 0x23, Extra::None, {37, 38, 39}},
    Common{command::kGetLoopStatistics, 19, 2, 0x29, Extra::Byte3RepeatsPage, {50, 51, 52}},
};

std::uint8_t RunCommon(CommandContext& ctx, const Common& c) {
  const std::uint8_t page = ctx.reply[2];  // noted before the answer overwrites it
  const auto response = Exchange(ctx, c.code, c.dataCount);
  bool accepted = response == c.response;
  if (accepted && c.extra == Extra::Byte3Zero) accepted = ctx.reply[3] == 0;
  if (accepted && c.extra == Extra::Byte3RepeatsPage) accepted = ctx.reply[3] == page;
  return Judge(ctx, accepted, c.outcome);
}

template <std::uint8_t Command>
std::uint8_t RunCommonCommand(CommandContext& ctx) {
  const auto it = std::find_if(kCommon.begin(), kCommon.end(), [](const Common& c) { return c.command == Command; });
  return RunCommon(ctx, *it);
}

std::uint8_t RunIdentify(CommandContext& ctx) {
  constexpr std::uint8_t kCode = 3;
  auto& reply = ctx.reply;
  const bool accepted = Exchange(ctx, kCode, 0) == kCode && reply[3] == 0;
  if (accepted) {
    // Frame bytes 5, 6, 7, 8 and 10 carry the identification.
    const std::array<std::uint8_t, 5> id{reply[4], reply[5], reply[6], reply[7], reply[9]};
    std::copy(id.begin(), id.end(), reply.begin() + 1);
    return ctx.Stopped() ? result::kIdentifyStopped : result::kIdentifiedWorking;
  }
  if (ctx.Stopped()) return result::kIdentifyStopped;
  if (!ctx.local) return result::kIdentifyFailed;

  // A local modem that stays silent in the working framing may be in its loader.
  ctx.worker.Pause(100);
  const auto values = ctx.link.LoaderQuery(kCode);
  if (ctx.Stopped()) return result::kIdentifyStopped;
  if (!values) return result::kIdentifyFailed;
  reply[1] = static_cast<std::uint8_t>(values->value1 >> 8);
  reply[2] = static_cast<std::uint8_t>(values->value1 & 0xFF);
  reply[3] = static_cast<std::uint8_t>(values->value2 >> 8);
  reply[4] = static_cast<std::uint8_t>(values->value2 & 0xFF);
  return result::kIdentifiedLoader;
}

std::uint8_t RunResetViaLoader(CommandContext& ctx) {
  const bool done = ctx.link.LoaderCommand(2);
  return Judge(ctx, done, {10, 12, 13});
}

std::uint8_t RunEnterSetup(CommandContext& ctx) {
  const auto response = Exchange(ctx, 1, 0);
  if (ctx.Stopped()) return result::kEnterSetupStopped;
  if (response == 0x21) return result::kSetupEntered;
  if (response == 0x27) return result::kSetupRefused;
  return result::kEnterSetupFailed;
}

std::uint8_t RunGetStatistics(CommandContext& ctx) {
  constexpr std::uint8_t kCode = 3;
  constexpr std::uint8_t kResponse = 0x29;
  const std::uint8_t first = ctx.softwareLevel >= 7 ? 7 : 1;
  const std::array<std::uint8_t, 3> pages{first, 2, 3};
  bool accepted = true;
  for (std::size_t i = 0; i < pages.size() && accepted; ++i) {
    const std::size_t at = i * kAnswerRecordSize;
    ctx.reply[1] = 0;
    ctx.reply[2] = pages[i];
    accepted = Exchange(ctx, kCode, 2, at) == kResponse && ctx.reply[at + 3] == pages[i];
  }
  return Judge(ctx, accepted, {25, 26, 27});
}

std::uint8_t RunConnectLoop(CommandContext& ctx) {
  std::uint8_t result = result::kConnectLoopFailed;
  if (!ctx.link.SendRequest(2, ctx.reply, 2)) {
    result = result::kConnectLoopFailed;
  } else if (!ctx.link.ReadAnswer(RecordAt(ctx.reply))) {
    result = result::kConnectLoopNoAnswer;
  } else if (ctx.reply[0] == ExpectedAnswerAddress(ctx.link.Address())) {
    switch (ctx.reply[1]) {
      case 0x31: result = result::kLoopConnected; break;
      case 0x32: result = result::kConnectLoopAnswered32; break;
      case 0x33: result = result::kConnectLoopBusy; break;
      default: break;
    }
  }
  return ctx.Stopped() ? result::kConnectLoopStopped : result;
}

std::uint8_t RunDisconnectLoop(CommandContext& ctx) {
  const std::uint8_t noted = ctx.reply[1];
  std::uint8_t result = result::kDisconnectLoopFailed;
  if (!ctx.link.SendRequest(18, ctx.reply, 2)) {
    result = result::kDisconnectLoopFailed;
  } else if (!ctx.link.ReadAnswer(RecordAt(ctx.reply))) {
    result = result::kDisconnectLoopNoAnswer;
  } else if (ctx.reply[0] == ExpectedAnswerAddress(ctx.link.Address()) && ctx.reply[1] == 0x32) {
    result = result::kLoopDisconnected;
  }
  if (!ctx.Stopped()) return result;
  // A stopped disconnect still tells the modem to end the loop.
  ctx.reply[1] = 0;
  ctx.reply[2] = noted;
  ctx.link.SendRequest(18, ctx.reply, 2);
  return result::kDisconnectLoopStopped;
}

std::uint8_t RunResetLoopStatistics(CommandContext& ctx) {
  const bool done = ctx.link.SendRequest(17, ctx.reply, 0);
  return Judge(ctx, done, {53, 54, 55});
}

constexpr std::size_t kRecord = kAnswerRecordSize;

constexpr std::array kCommands{
    CommandInfo{command::kIdentify, kRecord, false, &RunIdentify},
    CommandInfo{command::kUpdateViaLoader, 1, true, &UpdateViaLoader},
    CommandInfo{command::kUpdateViaFirmware, 1, true, &UpdateViaFirmware},
    CommandInfo{command::kResetViaLoader, 1, false, &RunResetViaLoader},
    CommandInfo{command::kReset, kRecord, false, &RunCommonCommand<command::kReset>},
    CommandInfo{command::kResetSecondStep, kRecord, false, &RunCommonCommand<command::kResetSecondStep>},
    CommandInfo{command::kEnterSetup, kRecord, false, &RunEnterSetup},
    CommandInfo{command::kExitSetup, kRecord, false, &RunCommonCommand<command::kExitSetup>},
    CommandInfo{command::kGetStatistics, kStatisticsReplySize, false, &RunGetStatistics},
    CommandInfo{command::kResetStatistics, kRecord, false, &RunCommonCommand<command::kResetStatistics>},
    CommandInfo{command::kSetNewMode, kRecord, false, &RunCommonCommand<command::kSetNewMode>},
    CommandInfo{command::kLoadProfile, kRecord, false, &RunCommonCommand<command::kLoadProfile>},
    CommandInfo{command::kSaveProfile, kRecord, false, &RunCommonCommand<command::kSaveProfile>},
    CommandInfo{command::kConnectLoop, kRecord, false, &RunConnectLoop},
    CommandInfo{command::kDisconnectLoop, kRecord, false, &RunDisconnectLoop},
    CommandInfo{command::kGetLoopStatistics, kRecord, false, &RunCommonCommand<command::kGetLoopStatistics>},
    // Sends no data and reads no answer: only byte 0 is written.
    CommandInfo{command::kResetLoopStatistics, 1, false, &RunResetLoopStatistics},
};

}  // namespace

const CommandInfo* FindCommand(std::uint8_t command) {
  const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                               [command](const CommandInfo& c) { return c.command == command; });
  return it == kCommands.end() ? nullptr : &*it;
}

}  // namespace rkvt
