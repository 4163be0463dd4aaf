#include "Commands.h"

#include <algorithm>
#include <array>

namespace rkvt {

namespace {

constexpr std::array kCommands{
    CommandInfo{command::kIdentify, kAnswerRecordSize, false, &RunIdentify},
};

std::span<std::uint8_t, kAnswerRecordSize> Record(std::span<std::uint8_t> reply, std::size_t at = 0) {
  return reply.subspan(at).first<kAnswerRecordSize>();
}

}  // namespace

const CommandInfo* FindCommand(std::uint8_t command) {
  const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                               [command](const CommandInfo& c) { return c.command == command; });
  return it == kCommands.end() ? nullptr : &*it;
}

std::uint8_t RunIdentify(CommandContext& ctx) {
  constexpr std::uint8_t kCode = 3;
  auto& reply = ctx.reply;
  const std::uint8_t expected = ExpectedAnswerAddress(ctx.link.Address());
  const bool accepted = ctx.link.SendRequest(kCode, reply, 0) && ctx.link.ReadAnswer(Record(reply)) &&
                        reply[0] == expected && reply[1] == kCode && reply[3] == 0;
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

}  // namespace rkvt
